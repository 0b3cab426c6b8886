#!/usr/bin/env bash
# prnlink's placement code on the stand-in: both shortcuts hold what Wine's shell link object
# writes for the same input (tests/wine/prnlink_place_expected.txt), as lnkinfo reads them.
# Usage: prnlink_place.sh PROBE
source "$(dirname "$0")/scratch_machine.sh"
probe=$1
wine=$(dirname "$0")/../wine

"$probe" 'C:\WINDOWS\laser.ico' 'Office Laser'
check_eq "probe exit code" 0 $?
for file in "$WINSHIM_ROOT/drive_c/WINDOWS/Desktop/Office Laser.LNK" "$WINSHIM_ROOT/drive_c/WINDOWS/SendTo/Office Laser.LNK"; do
    check "$file written" test -f "$file"
    check_eq "what $file holds" "$(cat "$wine/prnlink_place_expected.txt")" "$(bash "$wine/prnlink_link_fields.sh" "$file")"
done
