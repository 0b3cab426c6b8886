#!/usr/bin/env bash
# prnlink as a Linux process: tails that do not parse, and shortcut names in two ANSI code
# pages reaching the file names and descriptions intact. Usage: prnlink_run.sh PRNLINK
source "$(dirname "$0")/scratch_machine.sh"
prnlink=$1

# Tails that do not parse: the message on standard error, exit code 1, nothing written.
for tail in '' 'C:\ICONS\LASER.ICO' "C:\\ICONS\\LASER.ICO \"$(printf 'n%.0s' {1..50})\" \"Office\"" \
    "C:\\ICONS\\LASER.ICO \"Laser\" \"$(printf 'n%.0s' {1..50})\""; do
    # shellcheck disable=SC2086 # the tail is split into words as a command line would be
    "$prnlink" $tail 2>"$WINSHIM_ROOT/stderr"
    check_eq "exit code for [${tail:0:40}...]" 1 $?
    check_eq "message for [${tail:0:40}...]" "Error: Can't parse command line" "$(cat "$WINSHIM_ROOT/stderr")"
done
check_eq "nothing written" "" "$(find "$c/WINDOWS/Desktop" "$c/WINDOWS/SendTo" -type f)"

add_printer "HP LaserJet 4"

# name_check CODEPAGE ANSI_NAME UTF8_NAME: the shortcut name given in the code page becomes
# the file name and, as lnkinfo reads it, the description.
name_check() {
    local codepage=$1 ansi=$2 utf8=$3 file report
    rm -f "$c"/WINDOWS/Desktop/* "$c"/WINDOWS/SendTo/*
    WINSHIM_CODEPAGE=$codepage "$prnlink" 'C:\ICONS\LASER.ICO' '"LaserJet"' "\"$ansi\"" 2>"$WINSHIM_ROOT/stderr"
    check_eq "exit code in code page $codepage" 1 $?
    check_eq "no message in code page $codepage" "" "$(cat "$WINSHIM_ROOT/stderr")"
    for file in "$c/WINDOWS/Desktop/$utf8.LNK" "$c/WINDOWS/SendTo/$utf8.LNK"; do
        check "$file exists" test -f "$file"
        report=$(lnkinfo -c "windows-$codepage" "$file")
        check_eq "lnkinfo reads $file" 0 $?
        check_eq "description in code page $codepage" "$utf8" "$(sed -n 's/^\tDescription\t*: //p' <<<"$report")"
    done
}
name_check 1252 $'B\xfcro Laser' 'Büro Laser'
name_check 932 $'\x83\x76\x83\x8a\x83\x93\x83\x5e' 'プリンタ'
