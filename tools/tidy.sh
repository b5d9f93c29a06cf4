#!/usr/bin/env bash
# Runs clang-tidy with the checked-in .clang-tidy over every source of the plain build.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
run-clang-tidy-14 -quiet -p "$root/build" \
  "$root/(runtime|engine|text|layout|report|layout_cli|layout_ui|files|sheet|ui|app|draw|cli|fuzz|tests|web)/.*\.cpp$" >"$root/build/tidy.log" 2>&1 || {
  sed 's/\x1b\[[0-9;]*m//g' "$root/build/tidy.log" | grep -E 'error:|warning:' >&2
  exit 1
}
echo "clang-tidy: clean"
