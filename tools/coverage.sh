#!/usr/bin/env bash
# Measures line and branch coverage of runtime/, engine/ and layout/ by their tests, in
# build-coverage/.
# Fails below 95% of lines or 85% of branches.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-coverage"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DKORVANE_COVERAGE=ON -DKORVANE_WERROR=ON -DKORVANE_WEB=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target runtime_test engine_test layout_test calculate_replay val_replay layout_replay
find "$build" -name '*.gcda' -delete
"$build/tests/runtime_test" >/dev/null
"$build/tests/engine_test" >/dev/null
"$build/tests/layout_test" >/dev/null
"$build/fuzz/val_replay" "$root/fuzz/corpus/val" >/dev/null
"$build/fuzz/calculate_replay" "$root/fuzz/corpus/calculate" >/dev/null
"$build/fuzz/layout_replay" "$root/fuzz/corpus/layout" >/dev/null
# Branches that only throw, and those the compiler adds for exceptions, are not the code's own.
gcovr --root "$root" --filter "$root/runtime/" --filter "$root/engine/" --filter "$root/layout/" \
  --exclude-throw-branches --exclude-unreachable-branches \
  --print-summary --fail-under-line 95 --fail-under-branch 85 "$build" >"$build/coverage.txt"
tail -n 3 "$build/coverage.txt"
