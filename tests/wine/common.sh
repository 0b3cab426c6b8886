# Shared by the Wine tests: a scratch prefix copied from the test run's template, the .exe
# under test started with an exact command line, and checks that report their line.
# Environment (set by CTest): WINE64, WINE_TEMPLATE, LAUNCH_EXE.
set -u
WINE64=${WINE64:-/usr/lib/wine/wine64}
FAILURES=0

# Copies the template prefix into a new scratch prefix ($WINEPREFIX), removed on exit.
wine_new_prefix() {
    WINEPREFIX=$(mktemp -d /tmp/wine-test-XXXXXX)
    export WINEPREFIX WINEDEBUG=-all
    cp -a "$WINE_TEMPLATE/." "$WINEPREFIX/"
    trap wine_cleanup EXIT
}

wine_cleanup() {
    WINEPREFIX=$WINEPREFIX wineserver -k >/dev/null 2>&1
    rm -rf "$WINEPREFIX"
    if [ "$FAILURES" -ne 0 ]; then
        echo "$FAILURES check(s) failed"
        exit 1
    fi
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

# check DESCRIPTION COMMAND...: counts a failure when the command fails.
check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAILED (line ${BASH_LINENO[0]}): $what"
        FAILURES=$((FAILURES + 1))
    fi
}

check_eq() {
    local what=$1 expected=$2 actual=$3
    if [ "$expected" = "$actual" ]; then
        echo "ok: $what"
    else
        echo "FAILED (line ${BASH_LINENO[0]}): $what: expected [$expected], got [$actual]"
        FAILURES=$((FAILURES + 1))
    fi
}
