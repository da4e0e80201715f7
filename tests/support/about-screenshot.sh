#!/usr/bin/env bash
# Saves a PNG of the About window, opened over the main window by the GUI
# test that checks its layout, held open for the picture.
#
#   tests/support/about-screenshot.sh [BUILD_DIR] [OUT_PNG]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath -m "${1:-$root/build}")
out=$(realpath -m "${2:-$root/docs/about-window.png}")
mkdir -p "$(dirname "$out")"
"$root/scripts/wine-session.sh" "$build/wineprefix" -- bash -c '
  TIVRELON_HOLD_ABOUT_MS=6000 wine "$1/i686/tests/gui_tests.exe" --gtest_filter=AboutWindowTest.LooksAsLaidOut \
    >/dev/null 2>&1 & pid=$!
  for _ in $(seq 100); do
    xwininfo -root -tree 2>/dev/null | grep -q "\"A propos Tivrelon" && break
    sleep 0.1
  done
  sleep 1
  "$2/scripts/screenshot.sh" "A propos Tivrelon" "$3"
  wait $pid
' _ "$build" "$root" "$out"
echo "About window: $out"
