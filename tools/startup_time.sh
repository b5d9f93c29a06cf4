#!/usr/bin/env bash
# Compares korvane-count's start-up with a trivial C program that prints one line: one count,
# plain and --json, as whole processes, 25 runs of each interleaved so that a busy moment
# weighs on all alike. Prints the medians and their ratio. A measurement, not a test.
# Usage: tools/startup_time.sh [build/cli/korvane-count]
set -euo pipefail
count=${1:-$(dirname "${BASH_SOURCE[0]}")/../build/cli/korvane-count}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '#include <stdio.h>\nint main(void) { puts("276"); return 0; }\n' >"$work/trivial.c"
cc -O2 -o "$work/trivial" "$work/trivial.c"
/usr/bin/python3 - "$work/trivial" "$count" <<'PY'
import os, statistics, subprocess, sys, time
trivial, count = sys.argv[1:3]
commands = {"trivial C program": [trivial],
            "korvane-count 600 32 25 57": [count, "600", "32", "25", "57"],
            "korvane-count --json 600 32 25 57": [count, "--json", "600", "32", "25", "57"]}
times = {name: [] for name in commands}
with open(os.devnull, "wb") as null:
    for _ in range(3):  # warm the file cache
        for argv in commands.values():
            subprocess.run(argv, stdout=null, check=True)
    for _ in range(25):
        for name, argv in commands.items():
            start = time.perf_counter_ns()
            subprocess.run(argv, stdout=null, check=True)
            times[name].append(time.perf_counter_ns() - start)
base = statistics.median(times["trivial C program"])
for name, runs in times.items():
    median = statistics.median(runs)
    print(f"{name:36} median {median / 1e6:6.2f} ms  {median / base:4.2f}x")
PY
