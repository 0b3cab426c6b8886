#!/usr/bin/env bash
# Several doctypereg and prndel processes at once on one machine lose no key: every printer
# removed stays removed, the document type's tree is whole, and keys nobody touched are kept.
# Usage: doctypereg_concurrent.sh DOCTYPEREG PRNDEL
source "$(dirname "$0")/scratch_machine.sh"
doctypereg=$1
prndel=$2
registry=$WINSHIM_ROOT/registry.reg
classes='HKEY_LOCAL_MACHINE\Software\Classes'

"$prndel" 'No Printer'  # lays out a new machine
for i in $(seq -w 1 24); do
    add_printer "Printer $i"
done
printf '[%s\\.keep]\r\n@="kept"\r\n\r\n' "$classes" >>"$registry"

codes=$(mktemp -d)
for round in 1 2 3; do
    for i in $(seq -w 1 24); do
        if [ "$round" -eq 1 ] || [ $((10#$i % 3)) -eq "$round" ]; then
            ("$prndel" "Printer $i"; echo $? >"$codes/prndel-$round-$i") &
        fi
        if [ $((10#$i % 4)) -eq 0 ]; then
            ("$doctypereg" "C:\\V$round$i.EXE \"%1\""; echo $? >"$codes/doctypereg-$round-$i") &
        fi
    done
done
wait
check_eq "every process ended with exit code 1" "" "$(grep -L -x 1 "$codes"/* )"
check "every process reported" test "$(ls "$codes" | wc -l)" -gt 24
rm -rf "$codes"

check_eq "no printer left" 0 "$(grep -c -F "[$printers\\Printer" "$registry")"
check "the untouched key is kept" grep -q -F "[$classes\\.keep]" "$registry"
for key in .qzv '.qzv\ShellNew' qzvfile 'qzvfile\Shell' 'qzvfile\Shell\Open' 'qzvfile\Shell\Open\Command'; do
    check_eq "one section for $key" 1 "$(grep -c -x -F "[$classes\\$key]"$'\r' "$registry")"
done
check_eq "both command values written" 2 "$(grep -c -E '^("Command"|@)="C:\\\\V[0-9]+\.EXE \\"%1\\""'$'\r$' "$registry")"
check_eq "no temporary file left" "" "$(ls "$WINSHIM_ROOT" | grep -v -x -e drive_c -e registry.reg -e registry.reg.lock)"
"$doctypereg" 'C:\V.EXE'
check_eq "the registry is still readable" 1 $?
