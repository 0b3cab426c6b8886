#!/usr/bin/env bash
# filedel and prndel as Linux processes on a scratch machine.
# Usage: removal_tools.sh FILEDEL PRNDEL
source "$(dirname "$0")/scratch_machine.sh"
filedel=$1
prndel=$2

# The first run lays out a new machine.
"$filedel" 'C:\nothing.txt'
check_eq "exit code on a new machine" 1 $?
for folder in WINDOWS/SYSTEM WINDOWS/Desktop WINDOWS/SendTo; do
    check "new machine has C:\\${folder//\//\\}" test -d "$c/$folder"
done
check "new machine has a registry" test -f "$WINSHIM_ROOT/registry.reg"

echo data >"$c/WINDOWS/x.txt"
"$filedel" 'C:\WINDOWS\x.txt'
check_eq "exit code after deleting" 1 $?
check "C:\\WINDOWS\\x.txt is gone" test ! -e "$c/WINDOWS/x.txt"

echo data >"$c/my file.txt"
"$filedel" '"C:\my file.txt"'
check_eq "exit code for a quoted path" 1 $?
check "a quoted path deletes nothing" test -e "$c/my file.txt"
"$filedel" 'C:\my' 'file.txt'
check "arguments joined by a blank make one path" test ! -e "$c/my file.txt"

mkdir -p "$c/WORK" && echo data >"$c/WORK/rel.txt"
(cd "$c/work" 2>/dev/null || cd "$c/WORK" && "$filedel" 'REL.TXT')
check "a relative path is taken from the working folder on C:" test ! -e "$c/WORK/rel.txt"

# prndel removes exactly the printer's section and leaves every other byte as it was.
before=$(cat "$WINSHIM_ROOT/registry.reg")
{
    printf '[%s\\Office Laser]\r\n"Port"="LPT1:"\r\n\r\n' "$printers"
    printf '[%s\\Office Laser\\PrinterDriverData]\n"Resolution"=dword:00000258\n\n' "$printers"
} >>"$WINSHIM_ROOT/registry.reg"
printf '; added by hand\n[%s\\Other]\n"Port"="FILE:"\n' "$printers" >>"$WINSHIM_ROOT/registry.reg"
expected=$(printf '%s\n; added by hand\n[%s\\Other]\n"Port"="FILE:"\n' "$before" "$printers")
"$prndel" 'Office Laser'
check_eq "exit code after deleting a printer" 1 $?
check_eq "only the printer's sections are gone" "$expected" "$(cat "$WINSHIM_ROOT/registry.reg")"
"$prndel" 'Office Laser'
check_eq "exit code for a printer already gone" 1 $?

damaged="REGEDIT4 is not what this file starts with"
printf '%s' "$damaged" >"$WINSHIM_ROOT/registry.reg"
"$prndel" 'Other'
check_eq "exit code on a damaged registry" 1 $?
check_eq "a damaged registry is left as it was" "$damaged" "$(cat "$WINSHIM_ROOT/registry.reg")"

# Without WINSHIM_ROOT the machine is ~/.winshim.
HOME_ROOT=$(mktemp -d)
trap 'rm -rf "$WINSHIM_ROOT" "$HOME_ROOT"; checks_done' EXIT
(unset WINSHIM_ROOT; HOME=$HOME_ROOT "$filedel" 'C:\x')
check "the default machine is made in ~/.winshim" test -d "$HOME_ROOT/.winshim/drive_c/WINDOWS/SendTo"
