#!/usr/bin/env bash
# Starts the built Tivrelon.exe under Wine. On a desktop ($DISPLAY set) the
# window opens there and this waits until the program ends. Without a
# display, it opens on a virtual one, saves a screenshot of the window and
# ends the program.
set -euo pipefail
build=${1:-build}  # [BUILD [ARCH]], ARCH i686 by default
exe="$build/${2:-i686}/Tivrelon.exe"
here=$(dirname "$0")

# Which program starts, and why: the 64-bit one only where Wine can start no
# 32-bit program (make run picks it then).
say_which="echo \"make run: $exe, the ${2:-i686} program (32-bit code: \$TIVRELON_I386)\";"
if [ -n "${DISPLAY:-}" ]; then
  exec "$here/wine-session.sh" --display "$build/wineprefix" -- bash -c "$say_which"' exec wine "$1"' _ "$exe"
fi

shot="$build/tivrelon-window.png"
"$here/wine-session.sh" "$build/wineprefix" -- bash -c "$say_which"'
  start=$(date +%s.%N)
  wine "$1" & pid=$!
  # Under qemu-i386 the 32-bit program takes a few seconds to appear.
  for _ in $(seq 600); do
    xwininfo -root -tree 2>/dev/null | grep -q "Changer l.ic" && break
    sleep 0.1
  done
  echo "The window appeared $(echo "$(date +%s.%N) $start" | awk "{printf \"%.1f\", \$1 - \$2}") s after its start ($4; 32-bit code: $TIVRELON_I386)"
  sleep 1
  "$2/screenshot.sh" "Changer l" "$3"
  kill $pid 2>/dev/null || true
' _ "$exe" "$here" "$shot" "${2:-i686}"
echo "No display here: Tivrelon ran on a virtual display. Screenshot of its window: $shot"
