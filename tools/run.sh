#!/usr/bin/env bash
# Builds Korvane and counts the example exchanger: shell 600, pitch 32, tube 25, centre tube 57
# (mm). Other values may be given as arguments, as to korvane-count.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"
if [ $# -eq 0 ]; then
  set -- 600 32 25 57
fi
exec "$root/build/cli/korvane-count" "$@"
