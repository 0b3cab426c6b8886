#!/usr/bin/env bash
# Prints what a shortcut file holds for prnlink, in a form that compares across writers: the
# lines lnkinfo reads for the description, icon and target items, then the target list's bytes
# as stored (its 2-byte size at offset 76, then the list). Usage: prnlink_link_fields.sh FILE
set -u
file=$1
lnkinfo "$file" |
    grep -E '^[[:space:]]*(Description|Icon location|Icon index|Number of items|Shell item|Item type|Class type indicator|Shell folder identifier|Shell folder name)[[:space:]]*:' |
    sed -E 's/^[[:space:]]+//; s/[[:space:]]+:[[:space:]]*/: /'
size=$(od -An -tu2 -j76 -N2 "$file" | tr -d ' ')
printf 'Target list: %s\n' "$(od -An -v -tx1 -j78 -N"$size" "$file" | tr -d ' \n')"
