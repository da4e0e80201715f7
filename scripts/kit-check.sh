#!/usr/bin/env bash
# Runs the Windows test kit's script over one architecture's build as a user
# runs the kit on a desktop of their own: every test program whole, in one
# process each, at 120 DPI (125 %, most laptops' setting), with the
# machine's own system-information registration and a C:\desktop.ini in
# place. Passes when the script ends with "N passed, 0 failed" and the
# registration, the file and the attributes of C:\ are as they were.
# Run inside a Wine session of its own (scripts/wine-session.sh): it changes
# the prefix's DPI.
#   scripts/kit-check.sh ARCH_BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
root=$(cd "$(dirname "$0")/.." && pwd)
drive_c="$WINEPREFIX/drive_c"
desktop='HKCU\Control Panel\Desktop'
tool_key='HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO'
folder_key='HKLM\SOFTWARE\Microsoft\Shared Tools Location'
views=(/reg:32 /reg:64)

# reg.exe's answer; a value that is not there is no failure of the check.
reg() { wine reg "$@" </dev/null 2>/dev/null | tr -d '\r' || true; }
# What the tests must leave as they found it.
state() {
  for v in "${views[@]}"; do
    reg query "$tool_key" /v PATH "$v" | grep PATH || echo "no PATH $v"
    reg query "$folder_key" /v MSINFO "$v" | grep MSINFO || echo "no MSINFO $v"
  done
  { sha256sum "$drive_c/desktop.ini" 2>/dev/null || echo "no desktop.ini"; } | cut -d' ' -f1
  getfattr --only-values -n user.DOSATTRIB "$drive_c/desktop.ini" 2>/dev/null || echo "no attributes"
  echo
  getfattr --only-values -n user.DOSATTRIB "$drive_c" 2>/dev/null || echo "no root attributes"
}

# The machine as a user's: a registration in each view, a customised C:\.
old_dpi=$(reg query "$desktop" /v LogPixels | awk '/LogPixels/ {print $3}')
restore() {
  reg delete "$tool_key" /v PATH /f "${views[0]}" >/dev/null; reg delete "$tool_key" /v PATH /f "${views[1]}" >/dev/null
  reg delete "$folder_key" /v MSINFO /f "${views[0]}" >/dev/null; reg delete "$folder_key" /v MSINFO /f "${views[1]}" >/dev/null
  rm -f "$drive_c/desktop.ini"; setfattr -x user.DOSATTRIB "$drive_c" 2>/dev/null || true
  if [ -n "$old_dpi" ]; then reg add "$desktop" /v LogPixels /t REG_DWORD /d "$((old_dpi))" /f >/dev/null
  else reg delete "$desktop" /v LogPixels /f >/dev/null; fi
}
trap restore EXIT
for v in "${views[@]}"; do
  reg add "$tool_key" /v PATH /d 'C:\Program Files\Common Files\Microsoft Shared\MSInfo\msinfo32.exe' /f "$v" >/dev/null
  reg add "$folder_key" /v MSINFO /d 'C:\Program Files\Common Files\Microsoft Shared\MSInfo' /f "$v" >/dev/null
done
printf '[.ShellClassInfo]\r\nIconResource=C:\\Windows\\System32\\imageres.dll,-30\r\n[Autre]\r\ncle=valeur\r\n' >"$drive_c/desktop.ini"
# Hidden and system, and C:\ a system folder, as Wine keeps them.
setfattr -n user.DOSATTRIB -v '"0x6"' "$drive_c/desktop.ini"
setfattr -n user.DOSATTRIB -v '"0x4"' "$drive_c"
reg add "$desktop" /v LogPixels /t REG_DWORD /d 120 /f >/dev/null
before=$(state)

sed 's/$/\r/' "$root/scripts/run-tests.cmd" >"$build/run-tests.cmd"
log=$build/kit-check.log
(cd "$build" && TIVRELON_TEST_MINUTES=5 wine cmd /c run-tests.cmd </dev/null >"$log" 2>&1) || true
tr -d '\r' <"$log" | grep -E '^(== .*ended|\*\*\*|\[  FAILED  \])' || true
last=$(tr -d '\r' <"$log" | grep -E '^[0-9]+ passed, [0-9]+ failed$' | tail -n 1)
after=$(state)

status=0
if [ "$before" != "$after" ]; then
  echo "The tests changed what the machine had:"; diff <(echo "$before") <(echo "$after") || true
  status=1
fi
case "$last" in
  *" passed, 0 failed") ;;
  *) echo "The kit's script did not end with every test passed (full log: $log)"; status=1 ;;
esac
echo "${last:-no count line}"
exit $status
