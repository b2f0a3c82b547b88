#!/usr/bin/env bash
# Index generator speed and memory, against `wc -l` on the same file in the
# same run, then the viewer's index loading against reading the index whole.
#
#   bench/history/run_bench.sh [BUILD_DIR]      (default: build)
#   SIZE_MB=64 bench/history/run_bench.sh       smaller data file (default 1024)
#   RUNS=5                                      timed runs of each command (best is taken)
#
# Goals: lmMakeIndex at most 1.5 times `wc -l` with the file in the page
# cache; peak memory at most twice the index size plus 16 MiB.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
size_mb=${SIZE_MB:-1024}
runs=${RUNS:-5}
tool="$build/bin/lmMakeIndex"
bench="$build/bin/history_index_bench"
[[ -x "$tool" ]] || { echo "no $tool: build first" >&2; exit 2; }
[[ -x /usr/bin/time ]] || { echo "/usr/bin/time is missing: apt-get install time" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/lumeno_history_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
data="$work/pastday.dat"

echo "generating ${size_mb} MiB of history data in $work"
python3 "$here/generate_history_data.py" "$data" "$size_mb"
data_bytes=$(stat -c %s "$data")
cat "$data" > /dev/null   # into the page cache

now_ns() { date +%s%N; }
best_ns() {   # best wall time of RUNS runs of the command, in ns
  local best=0 start end t
  for ((i = 0; i < runs; i++)); do
    start=$(now_ns); "$@" > /dev/null; end=$(now_ns)
    t=$((end - start))
    if ((best == 0 || t < best)); then best=$t; fi
  done
  echo "$best"
}

wc_ns=$(best_ns wc -l "$data")
tool_ns=$(best_ns "$tool" "$data")
index_bytes=$(stat -c %s "$work/pastday.idx")
records=$(od -An -tu4 -N4 "$work/pastday.idx" | tr -d ' ')
peak_kb=$(/usr/bin/time -v "$tool" "$data" 2>&1 >/dev/null | awk -F: '/Maximum resident/ {gsub(/ /, "", $2); print $2}')
wc_peak_kb=$(/usr/bin/time -v wc -l "$data" 2>&1 >/dev/null | awk -F: '/Maximum resident/ {gsub(/ /, "", $2); print $2}')

awk -v d="$data_bytes" -v w="$wc_ns" -v t="$tool_ns" -v ib="$index_bytes" -v n="$records" \
    -v pk="$peak_kb" -v wpk="$wc_peak_kb" 'BEGIN {
  mib = 1048576
  printf "data file:        %.1f MiB, %d records, index %.2f MiB\n", d / mib, n, ib / mib
  printf "wc -l:            %8.1f ms  (%.0f MiB/s)\n", w / 1e6, d / mib / (w / 1e9)
  printf "lmMakeIndex:      %8.1f ms  (%.0f MiB/s)\n", t / 1e6, d / mib / (t / 1e9)
  printf "time ratio:       %.2f  (goal <= 1.5)\n", t / w
  limit = 2 * ib / 1024 + 16 * 1024
  printf "peak memory:      %.1f MiB  (goal <= %.1f MiB = 2 x index + 16 MiB; wc -l: %.1f MiB)\n", pk / 1024, limit / 1024, wpk / 1024
}'

if [[ -x "$bench" ]]; then
  echo
  echo "loading the index and listing one day, against reading the index file whole:"
  LUMENO_BENCH_INDEX="$work/pastday.idx" "$bench" --benchmark_min_time=0.5
else
  echo "no $bench (configure with LUMENO_BENCHMARKS=ON to build it)"
fi
