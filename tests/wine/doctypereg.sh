#!/usr/bin/env bash
# doctypereg.exe under Wine writes the same tree as the Linux build (TREE, the sections one
# Linux run adds to registry.reg), read back with RegQueryInfoKeyA and RegEnumValueA; and that
# Linux file imports into Wine with regedit and reads back the same, less the key classes.
# Usage: doctypereg.sh EXE REGCHECK TREE
source "$(dirname "$0")/common.sh"
exe=$1
regcheck=$2
tree=$3
wine_new_prefix
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"; wine_cleanup' EXIT

tree_now() {
    "$WINE64" "$regcheck" HKCR .qzv qzvfile </dev/null
}
# The bytes of a value line of the tree, without its line end: section (a pattern), value start.
value_bytes() {
    tree_now | SECTION=$1 START=$2 LC_ALL=C awk 'index($0, ENVIRON["SECTION"]) == 1 { found = 1 }
        found && index($0, ENVIRON["START"]) == 1 { print; exit }' | tr -d '\r\n' | od -An -v -tx1 | tr -d ' \n'
}

wine_run "$exe" 'doctypereg C:\APP\VIEWER.EXE "%1"'
check_eq "exit code" 1 $?
tree_now >"$scratch/wine.reg"
check "the tree, with its classes, is the Linux run's byte for byte" cmp "$scratch/wine.reg" "$tree"
wine_run "$exe" 'doctypereg C:\APP\VIEWER.EXE "%1"'
check_eq "exit code of a second run" 1 $?
check "a second run leaves the same tree" cmp <(tree_now) "$tree"

# Both command values hold the tail byte for byte: blanks, quotes and ANSI bytes above 0x7F.
tail=$'C:\\\xC4PP\\V\xDC.EXE  "%1"  '
wine_run "$exe" "doctypereg   $tail"
check_eq "exit code for a tail with blanks and ANSI bytes" 1 $?
expected=$(printf '%s' "\"Command\"=\"${tail//\\/\\\\}\"" | sed 's/"%1"/\\"%1\\"/' | od -An -v -tx1 | tr -d ' \n')
check_eq "ShellNew's Command holds the tail" "$expected" \
    "$(value_bytes '[HKEY_LOCAL_MACHINE\Software\Classes\.qzv\ShellNew]' '"Command"=')"
check_eq "Open's Command holds the tail" "${expected/22436f6d6d616e6422/40}" \
    "$(value_bytes '[HKEY_LOCAL_MACHINE\Software\Classes\qzvfile\Shell\Open\Command]' '@=')"

wine_run "$exe" 'doctypereg'
check_eq "exit code for an empty tail" 1 $?
check_eq "both commands are empty strings" 2 "$(tree_now | grep -a -c -x -E '("Command"|@)=""'$'\r')"

# The stand-in's file, as regedit would meet it: the classes are comments and are not imported.
"$WINE64" reg delete 'HKCR\.qzv' /f >/dev/null 2>&1
"$WINE64" reg delete 'HKCR\qzvfile' /f >/dev/null 2>&1
check "the tree is gone before the import" test "$(tree_now | grep -a -c '^\[')" -eq 0
{ printf 'REGEDIT4\r\n\r\n'; cat "$tree"; } >"$scratch/linux.reg"
"$WINE64" regedit /S "$(winpath "$scratch/linux.reg")" </dev/null
check "the imported tree reads back as written, less the classes" \
    cmp <(tree_now | grep -a -v '^;class=') <(grep -a -v '^;class=' "$tree")
