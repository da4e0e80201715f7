#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and `make run` need,
# only when one of them is missing. Runs as root on a fresh Debian 12.
set -euo pipefail

packages=(
  cmake make python3
  mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  libgtest-dev
  wine wine32:i386 wine64
  fonts-wine xvfb xauth x11-utils imagemagick attr zip
  git osslsigncode openssl locales
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
