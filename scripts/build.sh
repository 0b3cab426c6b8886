#!/usr/bin/env bash
# Configures and builds the four builds: Linux (on the stand-in), the same with the sanitizers
# and the fuzz targets (clang), Windows i686 (the product) and Windows x86_64 (for the tests
# under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in linux sanitize win32 win64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$(nproc)"
done
echo
echo "Deliverables (Windows i686):"
ls -l build/win32/*/*.exe
