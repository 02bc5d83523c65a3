#!/usr/bin/env bash
# Builds Quillon, registers it on the bundled demo data (the step the maker's
# installer does on a real machine) and opens its window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build -j2 --target quillon quillon-register
# Records the demo data folder only when no data folder is recorded yet.
build/ui/quillon-register "$PWD/data/demo" >/dev/null
exec build/ui/quillon "$@"
