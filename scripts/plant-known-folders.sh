#!/usr/bin/env bash
# Gives a Wine prefix's Documents and Pictures what a Windows profile has: a
# folder of its own holding Windows' own desktop.ini (UTF-16 with its
# byte-order mark, hidden and system). Windows also makes the folder
# read-only, which Wine does not keep for folders. Leaves a folder that
# already has a desktop.ini as it is.
#   scripts/plant-known-folders.sh PREFIX
set -euo pipefail
prefix=$1
for profile in "$prefix"/drive_c/users/*; do
  [ "$(basename "$profile")" = Public ] && continue
  # Wine links the profile's folders (Desktop, Music, ...) to the Linux home,
  # which every prefix, every session beside and the host share: each gets a
  # folder of its own, so that a test working a known folder changes
  # nothing outside its prefix.
  for link in "$profile"/*; do
    if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
  done
  for pair in 'Documents:-21770::-112:-235' 'Pictures:-21779:-12688:-113:-236'; do
    IFS=: read -r name localised tip icon index <<<"$pair"
    folder=$profile/$name
    mkdir -p "$folder"
    [ -e "$folder/desktop.ini" ] && continue
    {
      printf '\r\n[.ShellClassInfo]\r\n'
      printf 'LocalizedResourceName=@%%SystemRoot%%\\system32\\shell32.dll,%s\r\n' "$localised"
      [ -n "$tip" ] && printf 'InfoTip=@%%SystemRoot%%\\system32\\shell32.dll,%s\r\n' "$tip"
      printf 'IconResource=%%SystemRoot%%\\system32\\imageres.dll,%s\r\n' "$icon"
      printf 'IconFile=%%SystemRoot%%\\system32\\shell32.dll\r\nIconIndex=%s\r\n' "$index"
    } | { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } >"$folder/desktop.ini"
    # Wine keeps DOS attributes in this attribute, as text.
    setfattr -n user.DOSATTRIB -v '"0x6"' "$folder/desktop.ini"
  done
done
