#!/usr/bin/env bash
# Builds Korvane and opens its window. Without a display it says so and names korvane-count,
# which gives the same count in a terminal: build/cli/korvane-count 600 32 25 57
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"
exec "$root/build/app/korvane" "$@"
