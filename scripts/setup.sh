#!/usr/bin/env bash
# On a fresh Debian machine: installs what is needed, builds everything and runs the tools on
# a ready-made example machine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh
scripts/build.sh
scripts/example.sh
