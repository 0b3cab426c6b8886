# Shared by the Wine tests: a scratch prefix copied from the test run's template, the .exe
# under test started with an exact command line, and checks that report their line.
# Environment (set by CTest): WINE64, WINE_TEMPLATE, LAUNCH_EXE.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/../checks.sh"
WINE64=${WINE64:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}

# Copies the template prefix into a new scratch prefix ($WINEPREFIX), removed on exit.
wine_new_prefix() {
    WINEPREFIX=$(mktemp -d /tmp/wine-test-XXXXXX)
    export WINEPREFIX WINEDEBUG=-all
    cp -a "$WINE_TEMPLATE/." "$WINEPREFIX/"
    trap wine_cleanup EXIT
}

wine_cleanup() {
    WINEPREFIX=$WINEPREFIX "$WINESERVER" -k >/dev/null 2>&1
    rm -rf "$WINEPREFIX"
    checks_done
}

# The Windows path (through drive Z:) of a host path.
winpath() {
    local path
    path=$(readlink -f "$1")
    printf 'Z:%s' "${path//\//\\}"
}

# wine_run EXE COMMANDLINE: starts EXE with exactly COMMANDLINE; returns its exit code.
wine_run() {
    local hex
    hex=$(printf '%s' "$2" | od -An -v -tx1 | tr -d ' \n')
    "$WINE64" "$LAUNCH_EXE" "$(winpath "$1")" "$hex" </dev/null
}
