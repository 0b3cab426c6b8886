#!/usr/bin/env bash
# prnlink's placement code under Wine, saving through Wine's own shell link object. Both
# shortcuts hold what prnlink_place_expected.txt says, the file that the stand-in's shortcuts
# are held to as well: the same description, icon and target items as lnkinfo reads them, and
# exactly the target bytes handed to SetIDList. Usage: prnlink_place.sh PROBE
source "$(dirname "$0")/common.sh"
probe=$1
here=$(dirname "$0")
wine_new_prefix
windows=$WINEPREFIX/drive_c/windows

# A new prefix has neither folder: both saves fail, and no folder is made.
"$WINE64" "$probe" 'C:\WINDOWS\laser.ico' 'Office Laser' </dev/null
check_eq "probe exit code without the folders" 0 $?
check "no Desktop folder made" test ! -e "$windows/Desktop"
check "no SendTo folder made" test ! -e "$windows/SendTo"

mkdir -p "$windows/Desktop" "$windows/SendTo"
echo "an older file" >"$windows/Desktop/Office Laser.LNK"
"$WINE64" "$probe" 'C:\WINDOWS\laser.ico' 'Office Laser' </dev/null
check_eq "probe exit code" 0 $?
for file in "$windows/Desktop/Office Laser.LNK" "$windows/SendTo/Office Laser.LNK"; do
    check "$file written" test -f "$file"
    check_eq "what $file holds" "$(cat "$here/prnlink_place_expected.txt")" "$(bash "$here/prnlink_link_fields.sh" "$file")"
done
