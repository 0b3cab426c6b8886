#!/usr/bin/env bash
# Runs the whole test suite: unit and process tests on Linux, the tools under Wine, and the
# checks of the i686 deliverables. Builds first, so it can follow a plain checkout of a set-up
# machine.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null || exit 1
passed=0
failed=0
for preset in linux win64 win32; do
    echo "== $preset"
    log=$(mktemp)
    ctest --preset "$preset" -j "$(nproc)" 2>&1 | tee "$log"
    summary=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    rm -f "$log"
    if [ -z "$summary" ]; then
        echo "ctest for $preset ran no test"
        failed=$((failed + 1))
        continue
    fi
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$summary")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
done
echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
