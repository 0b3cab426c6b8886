#!/usr/bin/env bash
# Runs the tools' Linux builds on a ready-made example machine (build/example-machine) and
# shows what each one changed.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/linux
export WINSHIM_ROOT=$PWD/build/example-machine
rm -rf "$WINSHIM_ROOT"
printers='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print\Printers'

step() { printf '\n== %s\n' "$*"; }

step "A new machine (made on first use)"
"$bin/filedel/filedel" 'C:\NOTHING.TXT' || true
(cd "$WINSHIM_ROOT" && find drive_c -type d | sort)

step "filedel 'C:\\WINDOWS\\TEMP\\setup.tmp'"
mkdir -p "$WINSHIM_ROOT/drive_c/WINDOWS/TEMP"
echo "left over" >"$WINSHIM_ROOT/drive_c/WINDOWS/TEMP/setup.tmp"
set +e
"$bin/filedel/filedel" 'C:\WINDOWS\TEMP\setup.tmp'
echo "exit code $?"
set -e
ls -A "$WINSHIM_ROOT/drive_c/WINDOWS/TEMP" | sed 's/^/  left: /'
echo "  (C:\\WINDOWS\\TEMP is empty)"

step "prndel 'Old Printer'"
printf '[%s\\Old Printer]\r\n"Port"="LPT2:"\r\n\r\n' "$printers" >>"$WINSHIM_ROOT/registry.reg"
echo "printers before: $(grep -c "^\[$(sed 's/\\/\\\\/g' <<<"$printers")\\\\" "$WINSHIM_ROOT/registry.reg")"
set +e
"$bin/prndel/prndel" 'Old Printer'
echo "exit code $?"
set -e
echo "printers after: $(grep -c "^\[$(sed 's/\\/\\\\/g' <<<"$printers")\\\\" "$WINSHIM_ROOT/registry.reg" || true)"

step "doctypereg 'C:\\APP\\VIEWER.EXE \"%1\"'"
set +e
"$bin/doctypereg/doctypereg" 'C:\APP\VIEWER.EXE "%1"'
echo "exit code $?"
set -e
sed -n '/^\[HKEY_LOCAL_MACHINE\\Software\\Classes\\\(\.qzv\|qzvfile\)/,/^\r\?$/p' "$WINSHIM_ROOT/registry.reg" | tr -d '\r'

step "prnlink 'C:\\ICONS\\LASER.ICO' '\"LaserJet\"' '\"Office Laser\"' with the printer \"HP LaserJet 4 on LPT1:\""
printf '[%s\\HP LaserJet 4 on LPT1:]\r\n"Port"="LPT1:"\r\n\r\n' "$printers" >>"$WINSHIM_ROOT/registry.reg"
set +e
"$bin/prnlink/prnlink" 'C:\ICONS\LASER.ICO' '"LaserJet"' '"Office Laser"'
echo "exit code $?"
set -e
for folder in Desktop SendTo; do
    echo "-- C:\\WINDOWS\\$folder\\Office Laser.LNK, as lnkinfo reads it:"
    lnkinfo "$WINSHIM_ROOT/drive_c/WINDOWS/$folder/Office Laser.LNK" |
        grep -E 'Description|Icon (location|index)|Number of items|Item type|Shell folder name'
done
