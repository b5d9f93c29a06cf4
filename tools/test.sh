#!/usr/bin/env bash
# Builds Korvane and runs every test.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"
ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)"
