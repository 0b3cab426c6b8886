#!/usr/bin/env bash
# prnlink as a Linux process: the printer in the registry at the start, and one added to
# registry.reg while the tool waits; both get their Desktop and SendTo shortcuts.
# Usage: prnlink_lookup.sh PRNLINK
source "$(dirname "$0")/scratch_machine.sh"
prnlink=$1

# Checks one shortcut as lnkinfo reads it, and that its last item names the printer.
check_shortcut() {
    local file=$1 printer=$2 report
    check "$file exists" test -f "$file"
    report=$(lnkinfo "$file")
    check_eq "lnkinfo reads $file" 0 $?
    check_eq "description" "Office Laser" "$(sed -n 's/^\tDescription\t*: //p' <<<"$report")"
    check_eq "icon location" 'C:\ICONS\LASER.ICO' "$(sed -n 's/^\tIcon location\t*: //p' <<<"$report")"
    check_eq "icon index" 0 "$(sed -n 's/^\tIcon index\t*: //p' <<<"$report")"
    check_eq "items in the target" 3 "$(sed -n 's/^\t\tNumber of items\t*: //p' <<<"$report")"
    check_eq "first item" "My Computer" "$(sed -n 's/^\t\tShell folder name\t*: //p' <<<"$report")"
    check "the target's printer item holds \"$printer\"" env LC_ALL=C grep -qaP "P\\x00\\Q${printer}\\E\\x00" "$file"
}

# A new machine, laid out by a first run with a tail that does not parse.
"$prnlink" >/dev/null 2>&1
add_printer "Canon Bubble-Jet on LPT2:" "LPT2:"
add_printer "HP LaserJet 4 on LPT1:" "LPT1:"

"$prnlink" 'C:\ICONS\LASER.ICO' '"LaserJet"' '"Office Laser"' 2>"$WINSHIM_ROOT/stderr"
check_eq "exit code after a printer was found" 1 $?
check_eq "no message" "" "$(cat "$WINSHIM_ROOT/stderr")"
check_shortcut "$c/WINDOWS/Desktop/Office Laser.LNK" "HP LaserJet 4 on LPT1:"
check_shortcut "$c/WINDOWS/SendTo/Office Laser.LNK" "HP LaserJet 4 on LPT1:"

# A printer that appears two seconds after the start is found in the next pass.
rm -f "$c"/WINDOWS/Desktop/* "$c"/WINDOWS/SendTo/*
"$prnlink" 'C:\ICONS\LASER.ICO' '"Color"' '"Office Laser"' 2>"$WINSHIM_ROOT/stderr" &
pid=$!
sleep 2
check "still searching after two seconds" kill -0 $pid
add_printer "HP Color LaserJet on FILE:" "FILE:"
wait $pid
check_eq "exit code after a late printer was found" 1 $?
check_eq "no message for the late printer" "" "$(cat "$WINSHIM_ROOT/stderr")"
check_shortcut "$c/WINDOWS/Desktop/Office Laser.LNK" "HP Color LaserJet on FILE:"
check_shortcut "$c/WINDOWS/SendTo/Office Laser.LNK" "HP Color LaserJet on FILE:"
