#!/usr/bin/env bash
# Runs CTest over every architecture this host can run, inside the tests'
# Wine session (scripts/wine-session.sh sets TIVRELON_WINE32).
#   scripts/ctest.sh BUILD [CTEST_ARGS...]
set -euo pipefail
build=$1; shift
archs=()
for a in i686 x86_64; do
  [ -f "$build/$a/CTestTestfile.cmake" ] || continue
  if [ "$a" = i686 ] && [ "${TIVRELON_WINE32:-1}" = 0 ]; then
    echo "i686: built, not run: this host's kernel runs no 32-bit code, so Wine cannot start 32-bit programs"
    continue
  fi
  archs+=("\"$a\"")
done
printf 'subdirs(%s)\n' "${archs[*]}" >"$build/CTestTestfile.cmake"
exec ctest --test-dir "$build" "$@"
