#!/usr/bin/env bash
# filedel.exe under Wine: deletes the file its tail names, as it stands. Usage: filedel.sh EXE
source "$(dirname "$0")/common.sh"
exe=$1
wine_new_prefix
c=$WINEPREFIX/drive_c

echo data >"$c/victim.txt"
wine_run "$exe" 'filedel C:\victim.txt'
check_eq "exit code after deleting" 1 $?
check "the file is gone" test ! -e "$c/victim.txt"

echo data >"$c/my file.txt"
wine_run "$exe" 'filedel "C:\my file.txt"'
check_eq "exit code for a quoted path" 1 $?
check "a quoted path deletes nothing" test -e "$c/my file.txt"

wine_run "$exe" 'filedel C:\my file.txt'
check_eq "exit code for a path with a blank" 1 $?
check "a path with a blank is one path" test ! -e "$c/my file.txt"

wine_run "$exe" 'filedel C:\missing.txt'
check_eq "exit code for a missing file" 1 $?
