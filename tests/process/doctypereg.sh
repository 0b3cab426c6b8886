#!/usr/bin/env bash
# doctypereg as a Linux process: the tree it writes into registry.reg, and a damaged registry.
# Usage: doctypereg.sh DOCTYPEREG PRNDEL TREE (TREE: the sections one run adds, as a file)
source "$(dirname "$0")/scratch_machine.sh"
doctypereg=$1
prndel=$2
tree=$3
registry=$WINSHIM_ROOT/registry.reg

"$prndel" 'No Printer'  # lays out a new machine and changes nothing
new_machine=$(mktemp)
cp "$registry" "$new_machine"

"$doctypereg" 'C:\APP\VIEWER.EXE "%1"'
check_eq "exit code" 1 $?
check "registry.reg is the new machine's plus the tree, byte for byte" \
    cmp -s "$registry" <(cat "$new_machine" "$tree")
"$doctypereg" 'C:\APP\VIEWER.EXE "%1"'
check_eq "exit code of a second run" 1 $?
check "a second run leaves the same file" cmp -s "$registry" <(cat "$new_machine" "$tree")
rm -f "$new_machine"

# The tail is what the start-up hands over: the blanks after the program name are skipped,
# trailing blanks are kept.
"$doctypereg" ' C:\V.EXE' '%1 '
check_eq "exit code for a tail with blanks" 1 $?
check_eq "both command values hold the tail" 2 "$(grep -c -F '="C:\\V.EXE %1 "' "$registry")"

damaged=$(printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Classes]\r\nnot a value\r\n')
printf '%s' "$damaged" >"$registry"
"$doctypereg" 'C:\APP\VIEWER.EXE "%1"'
check_eq "exit code on a damaged registry" 0 $?
check_eq "a damaged registry is left as it was" "$damaged" "$(cat "$registry")"
