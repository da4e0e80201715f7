#!/usr/bin/env bash
# Runs a command inside a Wine session: a prefix of our own under the build
# folder, a virtual X display (unless --display says to use $DISPLAY), and a
# persistent wineserver so that every Wine process after the first starts in
# a tenth of a second.
#
#   scripts/wine-session.sh [--display] PREFIX_DIR -- COMMAND...
set -euo pipefail

# First where 32-bit programs can start: natively, or through qemu-i386 in a
# namespace of our own where the kernel runs 64-bit code only.
[ -n "${TIVRELON_I386:-}" ] || exec "$(dirname "$0")/emulated-i386.sh" "$0" "$@"

use_display=0
if [ "${1:-}" = "--display" ]; then use_display=1; shift; fi
prefix=$1; shift
[ "${1:-}" = "--" ] && shift

export WINEPREFIX=$(realpath -m "$prefix")
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
# The session's own programs and logs, beside the prefix and not in it.
bin="$WINEPREFIX.bin"
mkdir -p "$bin"

xvfb_pid=""
# What the Wine server says goes nowhere else: a process it ends for a
# protocol error dies with code 1 and not a word of its own.
server_log="$bin/wineserver.log"
cleanup() {
  # Stop the persistent server and everything it still runs, then the display.
  wineserver -k >/dev/null 2>&1 || true
  if [ -s "$server_log" ]; then
    echo "wine-session: the Wine server said:" >&2
    cat "$server_log" >&2
  fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT

if [ $use_display -eq 0 ] || [ -z "${DISPLAY:-}" ]; then
  # Xvfb picks a free display number itself and tells it on a pipe, so
  # sessions started side by side never share a display.
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r n <"$fifo"
  rm -f "$fifo"
  export DISPLAY=":$n"
  export TIVRELON_VIRTUAL_DISPLAY=1
fi

# Where the 32-bit loader is emulated, or cannot start at all, Debian's `wine`
# script would still pick it for every program: 64-bit programs go to wine64
# directly (which hands a 32-bit one to the 32-bit loader itself).
# (TIVRELON_WINE32=0: 32-bit programs cannot run here.)
export TIVRELON_WINE32=1
case $TIVRELON_I386 in none*) TIVRELON_WINE32=0 ;; esac
if [ "$TIVRELON_I386" != native ]; then
  # A program that ends in error says so with its code: Wine, told to be
  # quiet (WINEDEBUG), prints nothing when it cannot start one.
  cat >"$bin/wine.new" <<'SHIM'
#!/bin/sh
/usr/lib/wine/wine64 "$@"
code=$?
[ $code = 0 ] || echo "wine: $1 ended with exit status $code" >&2
exit $code
SHIM
  chmod +x "$bin/wine.new"
  mv -f "$bin/wine.new" "$bin/wine"
  export PATH="$bin:$PATH"
fi
# A prefix made where 32-bit programs could not start has no 32-bit half, and
# wineboot does not add one later: made again.
if [ $TIVRELON_WINE32 = 1 ] && [ -f "$WINEPREFIX/system.reg" ] && [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then
  echo "The Wine prefix $WINEPREFIX has no 32-bit half: making it again"
  rm -rf "$WINEPREFIX"
fi
mkdir -p "$WINEPREFIX"
# A server that inherited our stdout would keep CTest waiting for EOF.
wineserver -p </dev/null >/dev/null 2>"$server_log" || true
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the Wine prefix $WINEPREFIX (about 15 s)..."
  wine wineboot -i </dev/null >/dev/null 2>&1
  # A crashing test must end, not wait behind Wine's crash dialog.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
  # Wine's own TrueType fonts (Marlett draws the title-bar buttons) are not
  # found where Debian puts them; the prefix's Fonts folder always is.
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
fi
# A user's profile as Windows ships it: Documents and Pictures are folders of
# their own (Wine links them to the Linux home), each with the
# hidden system desktop.ini that names its own icon, localised name and, for
# Pictures, info tip, in UTF-16 as Windows writes it. Put back at each
# session, so a test that failed half way leaves no trace in the next run.
"$(dirname "$0")/plant-known-folders.sh" "$WINEPREFIX"
# The desktop, held for the whole session (scripts/desktop-anchor.c):
# without it Wine closes it between two programs and starts it again.
anchor="$bin/desktop-anchor.exe"
source="$(dirname "$0")/desktop-anchor.c"
if [ ! -f "$anchor" ] || [ "$source" -nt "$anchor" ]; then
  x86_64-w64-mingw32-gcc -municode -mwindows -Os -s -o "$anchor" "$source"
fi
ready="$bin/desktop-ready"
rm -f "$ready"
wine "$anchor" "Z:${ready//\//\\}" </dev/null >/dev/null 2>&1 &
for _ in $(seq 1200); do [ -f "$ready" ] && break; sleep 0.1; done
[ -f "$ready" ] || echo "wine-session: the desktop's anchor did not start; Wine may close the desktop between programs" >&2
# Without a window manager (the virtual display) Wine draws the frames and
# title bars itself; on a desktop the window manager does.
if [ -n "${TIVRELON_VIRTUAL_DISPLAY:-}" ]; then managed=N; else managed=Y; fi
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d $managed /f </dev/null >/dev/null 2>&1
"$@"
