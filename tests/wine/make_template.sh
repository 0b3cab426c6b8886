#!/usr/bin/env bash
# Makes the Wine prefix that every Wine test of this run starts from (wineboot takes seconds;
# copying a finished prefix is quick).
set -eu
template=$1
WINE64=${WINE64:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
rm -rf "$template"
mkdir -p "$template"
export WINEPREFIX=$template WINEDEBUG=-all
"$WINE64" wineboot -i >/dev/null 2>&1 || true
"$WINESERVER" -w
test -f "$template/system.reg"
echo "Wine prefix ready: $template"
