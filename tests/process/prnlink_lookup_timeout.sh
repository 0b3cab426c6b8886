#!/usr/bin/env bash
# prnlink as a Linux process with no matching printer: it searches for 40 s, then ends with
# exit code 1, having written nothing and shown no message.
# Usage: prnlink_lookup_timeout.sh PRNLINK
source "$(dirname "$0")/scratch_machine.sh"
prnlink=$1

started=$(date +%s%N)
"$prnlink" 'C:\ICONS\LASER.ICO' '"LaserJet"' '"Office Laser"' 2>"$WINSHIM_ROOT/stderr"
check_eq "exit code when no printer matches" 1 $?
elapsed_ms=$((($(date +%s%N) - started) / 1000000))
echo "searched for $elapsed_ms ms"
check "the search lasted its 40000 ms" test "$elapsed_ms" -ge 40000
check_eq "no message" "" "$(cat "$WINSHIM_ROOT/stderr")"
check_eq "nothing written to Desktop or SendTo" "" "$(ls -A "$c/WINDOWS/Desktop" "$c/WINDOWS/SendTo" | grep -v ':$' | grep .)"
