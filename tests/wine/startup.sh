#!/usr/bin/env bash
# The command tail our start-up hands WinMain under Windows, for command lines the runtime's
# own start-up gets wrong. Usage: startup.sh TAIL_PROBE_EXE
source "$(dirname "$0")/common.sh"
probe=$1
wine_new_prefix
tail_of() {
    rm -f "$WINEPREFIX/drive_c/tail.out"
    wine_run "$probe" "$1"
    od -An -v -c "$WINEPREFIX/drive_c/tail.out" | tr -s ' ' | sed 's/^ //'
}
expect_tail() {
    local line=$1 tail=$2
    local expected
    expected=$(printf '%s' "$tail" | od -An -v -c | tr -s ' ' | sed 's/^ //')
    check_eq "tail of [$line]" "$expected" "$(tail_of "$line")"
}
expect_tail '"C:\probe.exe"abc def' 'abc def'
expect_tail 'C:\probe.exe   x y  ' 'x y  '
expect_tail $'C:\\pr\xe9be.exe rest' 'rest'
expect_tail $'C:\\probe.exe\t\t"a b"' '"a b"'
expect_tail '"C:\Program Files\probe.exe" "C:\my file.txt"' '"C:\my file.txt"'
expect_tail 'probe' ''

# A double-byte program name in code page 932. (A lead byte before a quote cannot be tested
# here: 0x22 is no valid second byte, and the command line's trip through UTF-16 drops the
# pair before the program starts.)
export LC_ALL=ja_JP.UTF-8
expect_tail $'"C:\\pr\x81\x40.exe" tail' 'tail'
