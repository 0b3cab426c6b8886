#!/usr/bin/env bash
# doctypereg and prndel processes, eight at a time and interleaved, 200 runs on one machine, lose
# no key: every printer removed stays removed, the document type's tree is whole, keys nobody
# touched are kept, every process ends with 1 and no temporary file is left. Then eight at once
# on new machines: the machine is made once and whole.
# Usage: doctypereg_concurrent.sh DOCTYPEREG PRNDEL
source "$(dirname "$0")/scratch_machine.sh"
doctypereg=$1
prndel=$2
registry=$WINSHIM_ROOT/registry.reg
classes='HKEY_LOCAL_MACHINE\Software\Classes'
machine=$WINSHIM_ROOT
codes=$(mktemp -d)
trap 'rm -rf "$machine" "$codes"; checks_done' EXIT

# run_eight_at_a_time: runs the jobs read from standard input ("doctypereg ARG" or "prndel ARG",
# one a line), at most eight at once; each job's exit code lands in $codes/<line number>.
run_eight_at_a_time() {
    local n=0 tool arg running=0
    while read -r tool arg; do
        n=$((n + 1))
        if [ "$tool" = doctypereg ]; then tool=$doctypereg; else tool=$prndel; fi
        ("$tool" "$arg"; echo $? >"$codes/$n") &
        running=$((running + 1))
        if [ "$running" -ge 8 ]; then
            wait -n
            running=$((running - 1))
        fi
    done
    wait
}

"$prndel" 'No Printer'  # lays out a new machine
for i in $(seq -w 1 100); do
    add_printer "Printer $i"
done
for i in $(seq -w 1 10); do
    add_printer "Kept $i"
done
printf '[%s\\.keep]\r\n@="kept"\r\n\r\n' "$classes" >>"$registry"

# 120 removals (the first 20 printers twice, once early and once late) and 80 registrations.
removal=0
for n in $(seq 1 200); do
    if [ $((n % 5)) -eq 1 ] || [ $((n % 5)) -eq 3 ]; then
        echo "doctypereg C:\\V$n.EXE \"%1\""
    else
        removal=$((removal + 1))
        printf 'prndel Printer %03d\n' $(((removal - 1) % 100 + 1))
    fi
done | run_eight_at_a_time

check_eq "200 processes reported" 200 "$(ls "$codes" | wc -l)"
check_eq "every process ended with exit code 1" "" "$(grep -L -x 1 "$codes"/*)"
check_eq "no printer removed is left" 0 "$(grep -c -F "[$printers\\Printer" "$registry")"
check_eq "the printers nobody removed are kept" 10 "$(grep -c -F "[$printers\\Kept" "$registry")"
check "the untouched key is kept" grep -q -F "[$classes\\.keep]" "$registry"
for key in .qzv '.qzv\ShellNew' qzvfile 'qzvfile\Shell' 'qzvfile\Shell\Open' 'qzvfile\Shell\Open\Command'; do
    check_eq "one section for $key" 1 "$(grep -c -x -F "[$classes\\$key]"$'\r' "$registry")"
done
check_eq "both command values written" 2 "$(grep -c -E '^("Command"|@)="C:\\\\V[0-9]+\.EXE \\"%1\\""'$'\r$' "$registry")"
check_eq "no temporary file left" "" "$(ls "$WINSHIM_ROOT" | grep -v -x -e drive_c -e registry.reg -e registry.reg.lock)"
"$doctypereg" 'C:\V.EXE'
check_eq "the registry is still readable" 1 $?

# A new machine that eight processes start on at once is made once: none of them reads a
# registry half written, and none writes a new one over keys another has stored.
for round in $(seq 1 8); do
    rm -f "$codes"/[0-9]*
    export WINSHIM_ROOT=$codes/machine-$round
    registry=$WINSHIM_ROOT/registry.reg
    for n in 1 2 3 4 5 6 7 8; do
        if [ $((n % 2)) -eq 0 ]; then echo "doctypereg C:\\V$n.EXE"; else echo "prndel Printer $n"; fi
    done | run_eight_at_a_time
    check_eq "new machine $round: every process ended with exit code 1" "" "$(grep -L -x 1 "$codes"/[0-9]*)"
    check_eq "new machine $round: the tree is whole" 2 "$(grep -c -E '^("Command"|@)="C:\\\\V[0-9]\.EXE"'$'\r$' "$registry")"
    check_eq "new machine $round: made once" 1 "$(grep -c -x -F "[$printers]"$'\r' "$registry")"
done
