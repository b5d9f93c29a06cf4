#!/usr/bin/env bash
# Measures drawings of a layout of 100,000 tubes (DL 8350, d 19, p 25, 4 passes, a centre tube)
# in each format, with and without tube numbers: the median wall time of five runs (hyperfine)
# and the peak memory of one (GNU time). A measurement, not a test.
# Usage: tools/drawing_time.sh [build/layout_cli/korvane-layout]
set -euo pipefail
layout=${1:-$(dirname "${BASH_SOURCE[0]}")/../build/layout_cli/korvane-layout}
command -v hyperfine >/dev/null || { echo "needs hyperfine (apt-get install hyperfine)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "needs GNU time (apt-get install time)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
inputs=(--otl 8350 --tube 19 --pitch 25 --passes 4 --centre-tube 100)
echo "$("$layout" "${inputs[@]}" --json | grep -E '"(in_circle|total)"' | tr -d ' \n')"
printf '%-14s %10s %10s %10s\n' drawing median peak size
for numbers in "" --numbers; do
  for format in dxf svg png pdf; do
    file="$work/sheet.$format"
    command=("$layout" "${inputs[@]}" $numbers --draw "$file")
    hyperfine -N -r 5 --export-json "$work/run.json" "${command[*]}" >/dev/null 2>&1
    median=$(python3 -c 'import json,sys; print("%.2f s" % json.load(open(sys.argv[1]))["results"][0]["median"])' "$work/run.json")
    peak=$(/usr/bin/time -f '%M' "${command[@]}" 2>&1 >/dev/null | tail -1)
    size=$(stat -c %s "$file")
    printf '%-14s %10s %7d MB %7d MB\n' "$format${numbers:+ numbers}" "$median" $((peak / 1024)) $((size / 1000000))
  done
done
