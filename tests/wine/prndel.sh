#!/usr/bin/env bash
# prndel.exe under Wine: no printer of that name, nothing deleted, exit code 1.
# Usage: prndel.sh EXE
source "$(dirname "$0")/common.sh"
exe=$1
wine_new_prefix
wine_run "$exe" 'prndel No Such Printer'
check_eq "exit code for a missing printer" 1 $?
wine_run "$exe" 'prndel'
check_eq "exit code for an empty name" 1 $?
