#!/usr/bin/env bash
# Runs the whole test suite: unit and process tests on Linux, the same again with
# AddressSanitizer and UndefinedBehaviorSanitizer, the tools under Wine, the checks of the i686
# deliverables, and every fuzz target for FUZZ_SECONDS (60 by default) each. Builds first, so it
# can follow a plain checkout of a set-up machine.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null || exit 1
passed=0
failed=0
for preset in linux sanitize win64 win32; do
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
echo "== fuzzing"
fuzz_log=$(mktemp)
scripts/fuzz.sh "${FUZZ_SECONDS:-60}" | tee "$fuzz_log"
clean=$(sed -n -E 's/^([0-9]+) fuzz targets clean, ([0-9]+) failed$/\1/p' "$fuzz_log")
bad=$(sed -n -E 's/^([0-9]+) fuzz targets clean, ([0-9]+) failed$/\2/p' "$fuzz_log")
rm -f "$fuzz_log"
passed=$((passed + ${clean:-0}))
failed=$((failed + ${bad:-1}))

echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
