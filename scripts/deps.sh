#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and `make run` need,
# only when one of them is missing, then npm's workflow checker into
# BUILD/tools. Runs as root on a fresh Debian 12.
#   scripts/deps.sh [BUILD]
set -euo pipefail
build=${1:-build}

packages=(
  cmake make python3
  mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  libgtest-dev
  wine wine32:i386 wine64
  # Wine's own loader for 64-bit programs, which Debian only suggests: it
  # keeps the addresses Wine maps at fixed places free before anything else
  # loads. Without it the randomised heap lands on Wine's shared user data
  # at 0x7ffe0000 about once in several thousand starts, and the program
  # ends at once with code 1 and not a word ("failed to map the shared user
  # data", an error Wine's quiet setting hides).
  wine64-preloader
  fonts-wine xvfb xauth x11-utils imagemagick attr zip
  git osslsigncode openssl locales
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
# Node and npm for the workflow checker: Debian's, unless npm is there
# already (a Node.js of another origin carries its own npm, which Debian's
# would conflict with).
command -v npm >/dev/null || missing+=(nodejs npm)

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
# A mirror caught mid-sync can serve one architecture's index of a suite and
# not the other's (seen: bookworm-security's i386 index of the wrong size):
# the update goes on with the indexes it could read.
update() { $SUDO apt-get update -qq || echo "apt-get update: an index could not be read (above); going on with the others"; }
install() { DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$@" >/dev/null; }

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  update
  # Without one architecture's index, an amd64 library is offered at the
  # suite's version and its i386 twin, which must be the same version, is
  # not, and Wine's 32-bit half cannot be installed: take the release's own
  # versions then, the same for both.
  if ! install "${missing[@]}"; then
    release=$(. /etc/os-release && echo "$VERSION_CODENAME")
    echo "Installing again with $release's own versions, the same for both architectures"
    install -t "$release" "${missing[@]}"
  fi
fi

# A host whose kernel runs no 32-bit code starts Wine's 32-bit loader through
# qemu-i386 (scripts/emulated-i386.sh). Bookworm's qemu 7.2 takes about 50 s
# to start each 32-bit Wine process, the backports' qemu 10 about 1 s: its
# page tracking no longer walks every page of the address space Wine reserves.
if { [ -n "${TIVRELON_EMULATE_I386:-}" ] || ! "$(dirname "$0")/host-runs-32bit.sh"; } && ! /usr/bin/qemu-i386 --version 2>/dev/null | grep -qE 'version ([89]|[1-9][0-9])\.'; then
  echo "Installing qemu-user from bookworm-backports (for Wine's 32-bit loader on a host that runs no 32-bit code)"
  if ! grep -rqs 'bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d; then
    echo 'deb http://deb.debian.org/debian bookworm-backports main' | $SUDO tee /etc/apt/sources.list.d/bookworm-backports.list >/dev/null
  fi
  update
  # Without its recommended qemu-user-binfmt, which would register it on the host.
  install qemu-user/bookworm-backports
fi

# The workflow checker (make test's workflow label), pinned, in the build's
# own folder: a fresh machine and CI get the same one.
version=0.6.0
if ! grep -qs "\"version\": \"$version\"" "$build/tools/node_modules/@action-validator/cli/package.json"; then
  echo "Installing npm's @action-validator/cli $version into $build/tools"
  mkdir -p "$build/tools"
  npm install --prefix "$build/tools" --no-save --no-audit --no-fund --loglevel=error \
    "@action-validator/cli@$version" "@action-validator/core@$version" >/dev/null
fi
