#!/usr/bin/env bash
# Installs, from Debian's packages, everything the builds and the tests need.
set -euo pipefail
packages=(
    cmake make g++ pkg-config                       # the Linux build
    clang libclang-rt-14-dev                        # the sanitizer build and libFuzzer
    libgtest-dev libgmock-dev libbenchmark-dev      # unit tests and benchmarks
    g++-mingw-w64-i686 g++-mingw-w64-x86-64         # the Windows builds (with binutils and windres)
    wine wine64                                     # the x86_64 tools under Wine
    liblnk-utils                                    # lnkinfo, an independent reader of shortcut files
    python3 python3-pefile                          # checks of the i686 PE files
)
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo=sudo
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${packages[@]}"
