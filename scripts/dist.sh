#!/usr/bin/env bash
# Makes the release: dist/Tivrelon-<version>-win32.zip (Tivrelon.exe,
# LISEZMOI.txt, LICENCE.txt) and dist/SHA256SUMS. The exe is signed first
# when a certificate is given (see scripts/sign.sh for SIGN_*).
#   scripts/dist.sh [BUILD]      (after the i686 Tivrelon target is built)
# The same commit gives the same zip: entries in a fixed order, dated
# SOURCE_DATE_EPOCH (default: the commit's time), with no extra fields.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
dist="$root/dist"

version=$(sed -n 's/^project(Tivrelon VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || { echo "dist: no version in CMakeLists.txt's project()" >&2; exit 1; }
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}
zip="Tivrelon-$version-win32.zip"

stage="$build/dist-stage"
rm -rf "$stage"
mkdir -p "$stage" "$dist"

if [ -n "${SIGN_PFX:-}" ] || [ -n "${SIGN_CERT:-}" ]; then
  "$root/scripts/sign.sh" "$build/i686/Tivrelon.exe" "$stage/Tivrelon.exe"
  signed="signed"
else
  cp "$build/i686/Tivrelon.exe" "$stage/Tivrelon.exe"
  signed="NOT signed (no SIGN_CERT/SIGN_KEY or SIGN_PFX given)"
fi

# Texts for Notepad: CRLF line ends, and UTF-8 with a byte-order mark, which
# every Notepad reads as UTF-8 whatever the system's code page. The guide
# names the zip it came in.
for pair in "docs/LISEZMOI.txt:LISEZMOI.txt" "LICENSE:LICENCE.txt"; do
  { printf '\xEF\xBB\xBF'; sed "s/\r\$//; s/<version>/$version/g; s/\$/\r/" "$root/${pair%%:*}"; } >"$stage/${pair#*:}"
done

rm -f "$dist"/Tivrelon-*-win32.zip "$dist/SHA256SUMS"
python3 - "$stage" "$dist/$zip" Tivrelon.exe LISEZMOI.txt LICENCE.txt <<'EOF'
import os, sys, time, zipfile
stage, out, *names = sys.argv[1:]
stamp = time.gmtime(max(int(os.environ["SOURCE_DATE_EPOCH"]), 315532800))[:6]  # zip dates start in 1980
with zipfile.ZipFile(out, "w") as z:
    for name in names:
        entry = zipfile.ZipInfo(name, stamp)
        entry.compress_type = zipfile.ZIP_DEFLATED
        entry.create_system = 0  # MS-DOS: no Unix owner or mode bits
        entry.external_attr = 0x20  # archive, as Explorer's own zips have it
        with open(os.path.join(stage, name), "rb") as f:
            z.writestr(entry, f.read(), compresslevel=9)
EOF
(cd "$dist" && sha256sum "$zip" >SHA256SUMS)
echo "dist/$zip ($(stat -c %s "$dist/$zip") bytes), Tivrelon.exe $signed"
cat "$dist/SHA256SUMS"
