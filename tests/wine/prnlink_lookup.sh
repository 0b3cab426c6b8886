#!/usr/bin/env bash
# prnlink.exe under Wine, whose Printers folder lists nothing (its EnumObjects is not
# implemented): a valid tail searches until the time is up, then ends with exit code 1 and has
# written nothing, although the Desktop and SendTo folders are there to receive shortcuts.
# Usage: prnlink_lookup.sh EXE
source "$(dirname "$0")/common.sh"
exe=$1
wine_new_prefix
windows=$WINEPREFIX/drive_c/windows
mkdir -p "$windows/Desktop" "$windows/SendTo"

started=$(date +%s)
wine_run "$exe" 'prnlink C:\ICONS\LASER.ICO "LaserJet" "Office Laser"'
check_eq "exit code when no printer matches" 1 $?
elapsed=$(($(date +%s) - started))
echo "searched for $elapsed s"
check "the search lasted its 40 s" test "$elapsed" -ge 40
check_eq "nothing in Desktop or SendTo" "" "$(find "$windows/Desktop" "$windows/SendTo" -mindepth 1)"
