#!/usr/bin/env bash
# The tools as a user whom the machine's file permissions really stop: an unreadable
# registry.reg, a Desktop folder nobody may write to, a folder that can be listed but not
# entered. As root, runs them as nobody; skipped (77) when that cannot be done.
# Usage: unprivileged_machine.sh DOCTYPEREG PRNDEL PRNLINK FILEDEL
source "$(dirname "$0")/scratch_machine.sh"
doctypereg=$1
prndel=$2
prnlink=$3
filedel=$4
registry=$WINSHIM_ROOT/registry.reg
out=$(mktemp -d)
trap 'rm -rf "$WINSHIM_ROOT" "$out"; checks_done' EXIT

as_user() {
    if [ "$(id -u)" -eq 0 ]; then
        setpriv --reuid="$(id -u nobody)" --regid="$(id -g nobody)" --clear-groups "$@"
    else
        "$@"
    fi
}

"$prndel" 'No Printer'  # lays out a new machine
add_printer "Office Laser"
if [ "$(id -u)" -eq 0 ]; then
    if ! command -v setpriv >/dev/null || ! id nobody >/dev/null 2>&1; then
        echo "skipped: running as root without setpriv or a user nobody"
        exit 77
    fi
    chown -R nobody: "$WINSHIM_ROOT" "$out"
fi
if ! as_user test -x "$prnlink" -a -w "$registry"; then
    echo "skipped: the tools or the machine cannot be reached as an unprivileged user"
    exit 77
fi

# registry.reg that may not be read: prndel ends with 1, doctypereg with 0, the file stays.
chmod 000 "$registry"
before=$(sha256sum <"$registry")
as_user "$prndel" 'Office Laser' 2>"$out/prndel"
check_eq "prndel's exit code on an unreadable registry" 1 $?
as_user "$doctypereg" 'C:\V.EXE' 2>"$out/doctypereg"
check_eq "doctypereg's exit code on an unreadable registry" 0 $?
check_eq "the unreadable registry is left as it was" "$before" "$(sha256sum <"$registry")"
check_eq "and keeps its permissions" 0 "$(stat -c %a "$registry")"
for tool in prndel doctypereg; do
    check "$tool: the stand-in says why" \
        grep -q -F "winshim: $registry cannot be read: Permission denied" "$out/$tool"
done
chmod 644 "$registry"

# A Desktop folder that may not be written to: "Save failed!" once, SendTo still written.
echo other >"$c/WINDOWS/Desktop/Other.LNK"
chmod 555 "$c/WINDOWS/Desktop"
before=$(sha256sum <"$registry")
as_user "$prnlink" 'C:\ICONS\LASER.ICO' '"Office"' '"Office Laser"' 2>"$out/prnlink"
check_eq "prnlink's exit code with a read-only Desktop" 1 $?
check_eq "prnlink's message" "Error: Save failed!" "$(cat "$out/prnlink")"
check_eq "the Desktop holds what it held" "Other.LNK" "$(ls -A "$c/WINDOWS/Desktop")"
check_eq "and that is unchanged" other "$(cat "$c/WINDOWS/Desktop/Other.LNK")"
check "the SendTo shortcut is written" test -s "$c/WINDOWS/SendTo/Office Laser.LNK"
check_eq "the registry is unchanged" "$before" "$(sha256sum <"$registry")"
chmod 755 "$c/WINDOWS/Desktop"

# A folder that can be listed but not entered: nothing below it is found, nothing deleted.
mkdir -p "$c/LOCKED/sub"
echo data >"$c/LOCKED/sub/x.txt"
chmod 644 "$c/LOCKED"
as_user "$filedel" 'C:\LOCKED\SUB\x.txt'
check_eq "filedel's exit code below a folder that cannot be entered" 1 $?
chmod 755 "$c/LOCKED"
check "the file is left" test -f "$c/LOCKED/sub/x.txt"
