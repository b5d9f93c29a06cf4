#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-fuzz/ and runs each for FUZZ_SECONDS (60 by default), side by side, from the checked-in
# corpus. A finding stops the run; its input is saved in build-fuzz/findings/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${FUZZ_SECONDS:-60}
CXX=clang++-14 cmake -S "$root" -B "$root/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORVANE_FUZZ=ON -DKORVANE_WERROR=ON >/dev/null
cmake --build "$root/build-fuzz" -j "$(nproc)"

findings="$root/build-fuzz/findings"
mkdir -p "$findings"
pids=()
names=(val calculate layout design)
for name in "${names[@]}"; do
  work="$root/build-fuzz/corpus-$name"
  rm -rf "$work"
  mkdir -p "$work"
  # An input still running after 20 s is a hang, a finding too: no text may hang the window.
  # The largest sheet a count allows takes about 0.6 s here under the sanitizers; the margin
  # is for a busy machine, whose clock runs on while the fuzzer waits for a core.
  "$root/build-fuzz/fuzz/${name}_fuzz" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
    -max_len=512 -print_final_stats=1 -artifact_prefix="$findings/$name-" \
    "$work" "$root/fuzz/corpus/$name" >"$root/build-fuzz/$name.log" 2>&1 &
  pids+=($!)
done
status=0
for i in "${!pids[@]}"; do
  name=${names[$i]}
  if wait "${pids[$i]}"; then
    echo "fuzz $name: $(grep -E '^stat::number_of_executed_units' "$root/build-fuzz/$name.log" \
      | awk '{print $2}') inputs in ${seconds} s, nothing found"
  else
    status=1
    echo "fuzz $name: FOUND A FAULT" >&2
    grep -E 'fuzz:|ERROR|SUMMARY|Test unit written' "$root/build-fuzz/$name.log" >&2 || true
  fi
done
exit $status
