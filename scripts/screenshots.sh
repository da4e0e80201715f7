#!/usr/bin/env bash
# Takes the screenshots under docs/ on a virtual display: the screenshot
# scene (tests/scene) works the built 32-bit program through a user's task in
# the Wine prefix (a folder of documents, an icon of shell32.dll, an info
# tip) and saves the window of each step, since TIVRELON_SCREENSHOTS is set.
#   scripts/screenshots.sh [BUILD [ARCH]]      (after `make build`; ARCH i686, the product, by default where the host runs it)
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
# The 32-bit product wherever Wine can start it.
arch=${2:-$("$here/product-arch.sh")}
root=$(dirname "$here")
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT

export TIVRELON_SCREENSHOTS="Z:${shots//\//\\}"
# Wine speaks the language of the Unix locale: French dialogs around the
# French program, as its users see them. Generated once when missing.
if ! locale -a 2>/dev/null | grep -qx fr_FR.utf8; then
  localedef -i fr_FR -f UTF-8 fr_FR.UTF-8 2>/dev/null || echo "screenshots: no French locale, Wine's dialogs stay in English" >&2
fi
export LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8
"$here/wine-session.sh" "$build/wineprefix" -- \
  wine "$build/$arch/tests/screenshot_scene.exe" >"$shots/scene.log" 2>&1 || { cat "$shots/scene.log"; exit 1; }
for bmp in "$shots"/*.bmp; do
  name=$(basename "$bmp" .bmp)
  convert "$bmp" -strip "$root/docs/$name.png"
  echo "docs/$name.png"
done
# Pictures, not figures: where 32-bit code runs under qemu-i386, the windows
# are the i686 program's all the same, and no time is taken from them.
echo "Windows of the $arch program ($("$here/emulated-i386.sh" sh -c 'echo "32-bit code: $TIVRELON_I386"')); no time measured."
