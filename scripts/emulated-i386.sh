#!/bin/sh
# Runs a command where Wine can start 32-bit programs. Where the kernel runs
# 32-bit code, the command runs as it is. Where it does not (no IA-32
# emulation), qemu-i386 is registered for 32-bit x86 programs in the
# binfmt_misc of a private user and mount namespace (Linux 6.7 and later),
# and the command runs inside it: Wine's 32-bit loader then starts
# unchanged, and nothing changes on the host. The command learns which in
# TIVRELON_I386: "native", "emulated" or "none: <why>". TIVRELON_EMULATE_I386=1
# takes the qemu road on a host that runs 32-bit code too, to see and time
# there what a host without it does.
#   scripts/emulated-i386.sh COMMAND...
set -eu
here=$(cd "$(dirname "$0")" && pwd)
conf=/usr/share/qemu/binfmt.d/qemu-i386.conf  # qemu-user's own registration line

if [ "${1:-}" = --inside ]; then
  shift
  if ! { mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc && cat "$conf" >/proc/sys/fs/binfmt_misc/register; } 2>/dev/null; then
    TIVRELON_I386="none: this host's kernel runs no 32-bit code and has no binfmt_misc of a namespace's own (Linux 6.7 and later)" exec "$@"
  fi
  if "$here/host-runs-32bit.sh"; then TIVRELON_I386=emulated exec "$@"; fi
  TIVRELON_I386="none: qemu-i386 is registered, yet Wine's 32-bit loader does not start" exec "$@"
fi

if [ -n "${TIVRELON_I386:-}" ]; then exec "$@"; fi  # decided further up
if [ -z "${TIVRELON_EMULATE_I386:-}" ] && "$here/host-runs-32bit.sh"; then TIVRELON_I386=native exec "$@"; fi
if [ ! -f "$conf" ]; then
  TIVRELON_I386="none: this host's kernel runs no 32-bit code and qemu-user is not installed (make deps)" exec "$@"
fi
if ! unshare --user --map-root-user --mount true 2>/dev/null; then
  TIVRELON_I386="none: this host's kernel runs no 32-bit code and forbids the user namespace qemu-i386 would be registered in" exec "$@"
fi
exec unshare --user --map-root-user --mount "$0" --inside "$@"
