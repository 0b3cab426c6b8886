#!/usr/bin/env bash
# Fuzzes every target of the sanitize build for a bounded time, starting from the seed corpus
# in tests/fuzz/corpus. A crash, a leak, a sanitizer report or a broken property fails the
# run; the failing input is kept in build/fuzz/<target>/artifacts.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 60)
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build/sanitize/tests/fuzz
targets=(command_tail shortcut_request id_list shortcut_paths registry_file document_type removal_tails)

failed=0
printf '%-18s %10s %8s %8s  %s\n' target inputs edges corpus result
for target in "${targets[@]}"; do
    work=build/fuzz/$target
    rm -rf "$work"
    mkdir -p "$work/corpus" "$work/artifacts"
    "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$work/artifacts/" "$work/corpus" "tests/fuzz/corpus/$target" >"$work/log" 2>&1
    code=$?
    inputs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
    edges=$(grep -o 'cov: [0-9]*' "$work/log" | tail -n 1 | cut -d' ' -f2)
    corpus=$(find "$work/corpus" "tests/fuzz/corpus/$target" -type f | wc -l)
    if [ "$code" -eq 0 ] && [ -z "$(ls -A "$work/artifacts")" ]; then
        result=ok
    else
        result="FAILED (exit $code; see $work/log)"
        failed=$((failed + 1))
        grep -E -A20 'ERROR|property broken|leak' "$work/log" | head -n 40
    fi
    printf '%-18s %10s %8s %8s  %s\n' "$target" "${inputs:-?}" "${edges:-?}" "$corpus" "$result"
done
echo
echo "$(( ${#targets[@]} - failed )) fuzz targets clean, $failed failed"
[ "$failed" -eq 0 ]
