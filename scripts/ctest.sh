#!/usr/bin/env bash
# Runs CTest over both architectures inside the tests' Wine session
# (scripts/wine-session.sh sets TIVRELON_I386). Where the host runs 32-bit
# code, one CTest run takes both. Where Wine's 32-bit loader runs under
# qemu-i386, the i686 half is a stage of its own, run first, that says how
# long it took and what it counted; the x86_64 half follows, and the output
# ends with CTest's summary, or with the i686 count when that stage failed.
#   scripts/ctest.sh BUILD [CTEST_ARGS...]
set -euo pipefail
build=$1; shift
archs=()
for a in i686 x86_64; do
  [ -f "$build/$a/CTestTestfile.cmake" ] && archs+=("\"$a\"")
done
over() {  # over ARCHS CTEST_ARGS...: CTest over those architectures' tests
  printf 'subdirs(%s)\n' "$1" >"$build/CTestTestfile.cmake"; shift
  ctest --test-dir "$build" "$@"
}
if [ "${TIVRELON_I386:-native}" = native ] || [ "${archs[0]:-}" != '"i686"' ]; then
  over "${archs[*]}" "$@"; exit
fi

case $TIVRELON_I386 in
  emulated)
    junit=$(realpath "$build")/i686/Testing/stage.xml
    start=$SECONDS
    stage=0
    over '"i686"' --output-junit "$junit" "$@" || stage=1
    took=$((SECONDS - start))
    count() { { grep -o "status=\"$1\"" "$junit" 2>/dev/null || true; } | wc -l; }
    echo "i686 stage, 32-bit Wine under qemu-i386: $((took / 60)) min $((took % 60)) s, $(count notrun) skipped"
    line="i686: $(count run) passed, $(count fail) failed"
    [ $stage = 0 ] || [ "$(count fail)" -gt 0 ] || line="i686: CTest ended in error before counting (above)" ;;
  *) line="i686: not run, $TIVRELON_I386"; stage=1 ;;
esac
echo "$line"
[ ${#archs[@]} -lt 2 ] || over '"x86_64"' "$@"
[ $stage = 0 ] || { echo "$line"; exit 1; }
