#!/usr/bin/env bash
# Builds the 32-bit Tivrelon.exe a second time from a copy of the sources in
# another folder, and fails unless it is byte for byte the exe of BUILD/i686:
# anyone can then rebuild the released exe from its commit and compare.
#   scripts/repro-check.sh [BUILD]      (after `make build`)
set -euo pipefail
build=$(realpath -m "${1:-build}")
root=$(cd "$(dirname "$0")/.." && pwd)
first="$build/i686/Tivrelon.exe"
again="$build/rebuild"  # kept, so that the next check compiles only what changed

# The copy holds what the first build saw: the tracked files as they are now
# (and none that is gone), with their times, so that an unchanged file is not
# compiled again.
rm -rf "$again/src"
mkdir -p "$again/src"
(cd "$root" && git ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
  tar --null -T - -cf -) | tar -xf - -C "$again/src"

if [ ! -f "$again/i686/CMakeCache.txt" ]; then
  cmake -S "$again/src" -B "$again/i686" -DCMAKE_TOOLCHAIN_FILE="$again/src/cmake/toolchain-i686-w64-mingw32.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DTIVRELON_TESTS=OFF -DTIVRELON_BENCH=OFF >/dev/null
fi
cmake --build "$again/i686" -j"${JOBS:-2}" --target Tivrelon -- --no-print-directory >/dev/null

a=$(sha256sum <"$first" | cut -d' ' -f1)
b=$(sha256sum <"$again/i686/Tivrelon.exe" | cut -d' ' -f1)
if [ "$a" != "$b" ]; then
  echo "Reproducible build: FAILED, the exe differs when built in another folder" >&2
  echo "  $a  $first" >&2
  echo "  $b  $again/i686/Tivrelon.exe" >&2
  cmp -l "$first" "$again/i686/Tivrelon.exe" | head -5 >&2 || true
  exit 1
fi
echo "Reproducible build: Tivrelon.exe built in two folders, same SHA-256 $a"
