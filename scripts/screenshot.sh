#!/usr/bin/env bash
# Saves a PNG of the top-level window whose title starts with $1 on $DISPLAY.
set -euo pipefail
title=$1
out=$2
id=$(xwininfo -root -tree | awk -v t="\"$title" 'index($0, t) { print $1; exit }')
if [ -z "$id" ]; then
  echo "screenshot: no window titled \"$title...\"" >&2
  exit 1
fi
import -window "$id" "$out"
