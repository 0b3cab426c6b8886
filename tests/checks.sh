# Checks for the test scripts: each prints one line and counts its failure; checks_done ends
# the script with the verdict.
FAILURES=0

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

checks_done() {
    if [ "$FAILURES" -ne 0 ]; then
        echo "$FAILURES check(s) failed"
        exit 1
    fi
}
