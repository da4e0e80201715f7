#!/usr/bin/env bash
# Packs the 32-bit test programs, what they need beside them (the test
# icons, the built Tivrelon.exe they work) and run-tests.cmd into
# BUILD/Tivrelon-tests-ARCH.zip, to run on a Windows desktop.
#
#   scripts/windows-kit.sh BUILD_DIR [ARCH]   (ARCH: i686, the default, or x86_64)
set -euo pipefail

build=$1
arch=${2:-i686}
name=Tivrelon-tests-$arch
rm -rf "$build/windows-kit-$arch" "$build/$name.zip"
kit=$build/windows-kit-$arch/$name
mkdir -p "$kit/tests"
# The tests find Tivrelon.exe in the folder above their own, as in the build.
cp "$build/$arch/Tivrelon.exe" "$kit/"
cp "$build/$arch/tests/"{unit_tests,gui_tests,exe_tests}.exe "$build/$arch/tests/TivrelonTestIcons.dll" "$kit/tests/"
sed 's/$/\r/' scripts/run-tests.cmd > "$kit/run-tests.cmd"
(cd "$build/windows-kit-$arch" && zip -qr "../$name.zip" "$name")
echo "$build/$name.zip"
