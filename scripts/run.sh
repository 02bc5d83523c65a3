#!/usr/bin/env bash
# Builds Quillon and runs it on the bundled demo data.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build -j2 --target quillon-query
exec build/tools/quillon-query --catalogue data/demo/Freq_TLine_Connectors.dat \
  --price-list data/demo/M_lom.dat --rates data/demo/xcngrate.dat --band 824 894 "$@"
