#!/usr/bin/env bash
# Measures the benchmark sweep (shells 100 to 3000 mm by 1, pitch 25, tube 19) as a whole
# process and prints the median of five runs. A measurement, not a test: on a busy machine the
# figure says nothing about the code.
# Usage: tools/sweep_time.sh [build/cli/korvane-count]
set -euo pipefail
count=${1:-$(dirname "${BASH_SOURCE[0]}")/../build/cli/korvane-count}
times=()
for _ in 1 2 3 4 5; do
  start=$(date +%s%N)
  "$count" --sweep 100:3000:1 25 19 >/dev/null
  times+=($((($(date +%s%N) - start) / 1000000)))
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)
echo "sweep of 2901 shells: median ${median} ms (runs: ${times[*]})"
