#!/usr/bin/env bash
# Runs the fuzz targets of fuzz/, each from its seed corpus and its kept
# findings, and says how many inputs each ran and what it found.
#
#   fuzz/run.sh [--seconds N] [--jobs N] [--build DIR] [ENTRY...]
#
#   --seconds N   time per target (default 600)
#   --jobs N      targets run side by side (default 1)
#   --build DIR   build tree (default build-fuzz), configured with clang and
#                 QUILLON_FUZZ and built first
#   ENTRY         only these entries (catalogue, price_list, ...)
#
# New inputs a run finds go to DIR/fuzz-work/ENTRY (kept between runs), and a
# crash to DIR/fuzz-findings/ENTRY/. A finding is mended in the code and its
# input copied to fuzz/regressions/ENTRY/, which the ordinary tests replay.
# Exits 1 when a target found something; without clang's libFuzzer it says so
# and exits 0.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=600
jobs=1
build=build-fuzz
entries=()
while (($#)); do
  case "$1" in
    --seconds) seconds="$2"; shift 2 ;;
    --jobs) jobs="$2"; shift 2 ;;
    --build) build="$2"; shift 2 ;;
    -h|--help) sed -n '2,17p' "$0"; exit 0 ;;
    *) entries+=("$1"); shift ;;
  esac
done

if ! command -v clang++ >/dev/null || ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
    clang++ -x c++ -fsanitize=fuzzer - -o /dev/null 2>/dev/null; then
  echo "fuzz: clang++ with libFuzzer not found; no fuzzing"
  exit 0
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DQUILLON_FUZZ=ON \
  -DQUILLON_WERROR=ON -DQUILLON_BUILD_TESTS=OFF -DQUILLON_BUILD_BENCH=OFF \
  "-DQUILLON_PARTS=engine;platform;persist;online;tools" "${launcher[@]}" >/dev/null
cmake --build "$build" -j2 >/dev/null

if ((${#entries[@]} == 0)); then
  for folder in fuzz/corpus/*/; do entries+=("$(basename "$folder")"); done
fi

logs="$build/fuzz-logs"
mkdir -p "$logs"
run_one() {
  local entry="$1"
  local target="$build/fuzz/fuzz-${entry//_/-}"
  local work="$build/fuzz-work/$entry" findings="$build/fuzz-findings/$entry"
  mkdir -p "$work" "$findings"
  local inputs=("$work" "fuzz/corpus/$entry")
  [ -d "fuzz/regressions/$entry" ] && inputs+=("fuzz/regressions/$entry")
  # Qt's parsers are quick; a slow input (over 10 s) is a finding too.
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "${inputs[@]}" >"$logs/$entry.log" 2>&1
}

status=0
pids=()
names=()
for entry in "${entries[@]}"; do
  if [ ! -x "$build/fuzz/fuzz-${entry//_/-}" ]; then
    echo "fuzz: no target for $entry" >&2
    status=1
    continue
  fi
  run_one "$entry" &
  pids+=($!)
  names+=("$entry")
  if ((${#pids[@]} >= jobs)); then
    wait "${pids[0]}" || true
    pids=("${pids[@]:1}")
  fi
done
wait || true

printf '%-20s %12s %10s  %s\n' entry executions "exec/s" found
for entry in "${names[@]}"; do
  log="$logs/$entry.log"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  found=$(ls "$build/fuzz-findings/$entry" 2>/dev/null | tr '\n' ' ')
  if grep -q -E '^==[0-9]+==ERROR|^SUMMARY: |fuzz check failed|deadly signal|ALARM: working on the last Unit' "$log"; then
    found="${found:-see $log}"
  fi
  printf '%-20s %12s %10s  %s\n' "$entry" "${runs:-?}" "${speed:-?}" "${found:-nothing}"
  [ -z "$runs" ] || [ -n "$found" ] && status=1
done
exit $status
