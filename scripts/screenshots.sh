#!/usr/bin/env bash
# Takes the screenshots under docs/ on a virtual display: the screenshot
# scene (tests/scene) works the built 32-bit program through a user's task in
# the Wine prefix (a folder of documents, an icon of shell32.dll, an info
# tip) and saves the window of each step, since TIVRELON_SCREENSHOTS is set.
#   scripts/screenshots.sh [BUILD [ARCH]]      (after `make build`; ARCH i686, the product, by default)
set -euo pipefail
build=${1:-build}
arch=${2:-i686}
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT

export TIVRELON_SCREENSHOTS="Z:${shots//\//\\}"
"$here/wine-session.sh" "$build/wineprefix" -- \
  wine "$build/$arch/tests/screenshot_scene.exe" >"$shots/scene.log" 2>&1 || { cat "$shots/scene.log"; exit 1; }
for bmp in "$shots"/*.bmp; do
  name=$(basename "$bmp" .bmp)
  convert "$bmp" -strip "$root/docs/$name.png"
  echo "docs/$name.png"
done
