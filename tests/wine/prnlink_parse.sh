#!/usr/bin/env bash
# prnlink.exe under Wine with tails that do not parse: exit code 1 at once (the message box
# returns at once without a display), nothing searched, nothing written. Usage: prnlink_parse.sh EXE
source "$(dirname "$0")/common.sh"
exe=$1
wine_new_prefix
mkdir -p "$WINEPREFIX/drive_c/windows/Desktop" "$WINEPREFIX/drive_c/windows/SendTo"

for line in 'prnlink' 'prnlink C:\icon.ico' 'prnlink C:\icon.ico "Laser" "Office' \
    'prnlink C:\icon.ico	"Laser"	"Office Laser"' 'prnlink C:\icon.ico "" "Office Laser"'; do
    wine_run "$exe" "$line"
    check_eq "exit code for [$line]" 1 $?
done
check_eq "nothing written" "" "$(find "$WINEPREFIX/drive_c/windows/Desktop" "$WINEPREFIX/drive_c/windows/SendTo" -type f)"
