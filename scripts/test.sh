#!/usr/bin/env bash
# Builds Quillon and runs every test headless. With --sanitize it builds a
# separate tree with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# the tests there instead, and then runs each fuzz target briefly
# (QUILLON_FUZZ_SECONDS each, default 15; 0 leaves fuzzing out).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

build=build
extra=()
if [ "${1:-}" = "--sanitize" ]; then
  build=build-asan
  # The layers without windows; the window tests run in the ordinary build.
  extra=(-DQUILLON_SANITIZE=ON "-DQUILLON_PARTS=${QUILLON_SANITIZE_PARTS:-engine;platform;persist;tools}")
fi
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_WERROR=ON "${launcher[@]}" "${extra[@]}" >/dev/null
cmake --build "$build" -j2
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2 --timeout 300

if [ "${1:-}" = "--sanitize" ] && [ "${QUILLON_FUZZ_SECONDS:-15}" != 0 ]; then
  fuzz/run.sh --seconds "${QUILLON_FUZZ_SECONDS:-15}" --jobs 2
fi
