#!/usr/bin/env bash
# Takes the screenshots under docs/ on a virtual display: the built 32-bit
# program is driven through the whole task by the exe driver test, which
# saves the window at each step when TIVRELON_SCREENSHOTS is set.
#   scripts/screenshots.sh [BUILD]      (after `make build`)
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT

export TIVRELON_SCREENSHOTS="Z:${shots//\//\\}"
"$here/wine-session.sh" "$build/wineprefix" -- \
  wine "$build/i686/tests/exe_tests.exe" --gtest_filter='ExeDriver.*' >/dev/null
for bmp in "$shots"/*.bmp; do
  name=$(basename "$bmp" .bmp)
  convert "$bmp" "$root/docs/$name.png"
  echo "docs/$name.png"
done
