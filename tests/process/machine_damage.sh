#!/usr/bin/env bash
# The tools on damaged machines: a registry.reg that is missing, empty, cut short, foreign or a
# folder; a full disk; odd things on drive C:. No tool crashes, each ends with its usual exit
# code, the stand-in says on stderr what is wrong, and nothing on the machine changes.
# Usage: machine_damage.sh DOCTYPEREG PRNDEL FILEDEL
source "$(dirname "$0")/scratch_machine.sh"
doctypereg=$1
prndel=$2
filedel=$3
registry=$WINSHIM_ROOT/registry.reg
out=$(mktemp -d)
trap 'rm -rf "$WINSHIM_ROOT" "$out"; checks_done' EXIT

# What registry.reg is, byte for byte and with its times, or that it is missing.
registry_state() {
    tar -C "$WINSHIM_ROOT" -cf - registry.reg 2>/dev/null | sha256sum
}

# Files in the machine folder besides drive C:, the registry and its lock.
stray_files() {
    ls -A "$WINSHIM_ROOT" | grep -v -x -e drive_c -e registry.reg -e registry.reg.lock
}

# on_damaged_registry WHAT MESSAGE: prndel and doctypereg on the registry as it stands end with
# 1 and 0, leave it as it was, and the stand-in says MESSAGE about it.
on_damaged_registry() {
    local what=$1 message=$2 before
    before=$(registry_state)
    "$prndel" 'Office Laser' 2>"$out/prndel"
    check_eq "prndel's exit code, $what" 1 $?
    "$doctypereg" 'C:\V.EXE' 2>"$out/doctypereg"
    check_eq "doctypereg's exit code, $what" 0 $?
    check_eq "registry.reg left as it was, $what" "$before" "$(registry_state)"
    check_eq "no file left beside it, $what" "" "$(stray_files)"
    for tool in prndel doctypereg; do
        check "$tool: the stand-in says why, $what" grep -q -F "winshim: $registry $message" "$out/$tool"
    done
}

"$prndel" 'No Printer'  # lays out a new machine
add_printer "Office Laser"
good=$out/good.reg
cp "$registry" "$good"

: >"$registry"
on_damaged_registry "empty" "is empty"
{ cat "$good"; printf '"Data"=hex:01,02,\\\r\n'; } >"$registry"
on_damaged_registry "cut after a hex line that goes on" "is not REGEDIT4 text that can be kept (line 10)"
{ cat "$good"; printf '"Port"="LP'; } >"$registry"
on_damaged_registry "cut in a value" "is not REGEDIT4 text that can be kept (line 10)"
{ printf 'REGEDIT5\r\n'; tail -n +2 "$good"; } >"$registry"
on_damaged_registry "with a wrong header" "is not REGEDIT4 text that can be kept (line 1)"
tail -n +3 "$good" >"$registry"
on_damaged_registry "without a header" "is not REGEDIT4 text that can be kept (line 1)"
rm "$registry"
on_damaged_registry "missing on a laid-out machine" "is missing"
mkdir "$registry"
on_damaged_registry "a folder in its place" "cannot be read: Is a directory"
rmdir "$registry"

# run_on_full_disk KIB COMMAND...: runs the command with writes past KIB KiB failing (EFBIG),
# as on a full disk; its standard error lands in $said (a file would be held to the limit too).
run_on_full_disk() {
    local kib=$1
    shift
    said=$( (trap '' XFSZ; ulimit -f "$kib"; exec "$@") 2>&1 >/dev/null)
}

cp "$good" "$registry"
for i in $(seq -w 1 100); do
    add_printer "Kept $i"
done
before=$(registry_state)
full="winshim: cannot write $registry: File too large: the registry is unchanged"
run_on_full_disk 4 "$doctypereg" 'C:\V.EXE'
check_eq "doctypereg's exit code on a full disk (.qzv not created)" 0 $?
check "doctypereg: the stand-in says why" grep -q -F "$full" <<<"$said"
run_on_full_disk 4 "$prndel" 'Kept 001'
check_eq "prndel's exit code on a full disk" 1 $?
check "prndel: the stand-in says why" grep -q -F "$full" <<<"$said"
check_eq "registry.reg left as it was on a full disk" "$before" "$(registry_state)"
check_eq "no new file left on a full disk" "" "$(stray_files)"
"$prndel" 'Kept 001'
check "with room again the printer is removed" test "$(grep -c -F 'Printers\Kept 001]' "$registry")" -eq 0

# filedel refuses a folder, and a link that leads to itself ends no run.
mkdir -p "$c/DATA/folder"
echo data >"$c/DATA/folder/inner.txt"
"$filedel" 'C:\DATA\folder'
check_eq "filedel's exit code for a folder" 1 $?
check "the folder and what it holds are left" test -f "$c/DATA/folder/inner.txt"
ln -s Loop "$c/Loop"
"$filedel" 'C:\Loop\x.txt'
check_eq "filedel's exit code below a link that leads to itself" 1 $?
check "the link is left" test -L "$c/Loop"

# A file in place of the machine folder: no machine, no crash.
echo data >"$out/not-a-folder"
for tool_code in doctypereg:0 prndel:1 filedel:1; do
    name=${tool_code%:*}
    WINSHIM_ROOT=$out/not-a-folder "${!name}" 'C:\X' 2>"$out/said"
    check_eq "$name's exit code with a file for a machine folder" "${tool_code#*:}" $?
    check "$name: the stand-in says why" grep -q -F "cannot make the machine folder $out/not-a-folder" "$out/said"
done
check_eq "the file in its place is left" data "$(cat "$out/not-a-folder")"

# A new machine on a full disk is not made at all, so that a later run can make it whole.
WINSHIM_ROOT=$out/new
registry=$WINSHIM_ROOT/registry.reg
mkdir "$WINSHIM_ROOT"
run_on_full_disk 0 "$doctypereg" 'C:\V.EXE'
check_eq "doctypereg's exit code on a new machine on a full disk" 0 $?
check_eq "nothing made on a full disk" "registry.reg.lock" "$(ls -A "$WINSHIM_ROOT")"
check "the stand-in says why" grep -q -F "winshim: cannot make $registry: File too large" <<<"$said"
"$doctypereg" 'C:\V.EXE'
check_eq "doctypereg's exit code with room again" 1 $?
check "the new machine has the tree" grep -q -F 'qzvfile\Shell\Open\Command]' "$registry"
check "the new machine is laid out" test -d "$WINSHIM_ROOT/drive_c/WINDOWS/SendTo"
