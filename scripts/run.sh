#!/usr/bin/env bash
# Builds Quillon and opens its window on the bundled demo data, started as the
# installed launcher starts it: the program gives itself a data folder seeded
# with the demo price list and registers, before its window opens. Settings
# and data folder live in the build tree (build/run), so that what the
# program writes there, downloaded updates and news included, never lands in
# the checkout. When that set-up fails the window still opens and shows what
# it misses.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build -j2 --target quillon
mkdir -p build/run
export QUILLON_SETTINGS_FILE=$PWD/build/run/registry.json
export QUILLON_PACKAGED_DATA=$PWD/data/demo
export QUILLON_DATA_FOLDER="$PWD/build/run/Common Files"
exec build/ui/quillon "$@"
