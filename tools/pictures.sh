#!/usr/bin/env bash
# Draws the README's layout pictures into docs/: one layout of each pattern, shell 700 mm,
# tube 25 mm, pitch 32 mm, 4 passes, a 57 mm centre tube, the tubes numbered.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"
for pattern in 30 60 90 45; do
  "$root/build/layout_cli/korvane-layout" --shell 700 --tube 25 --pitch 32 --pattern "$pattern" \
    --passes 4 --centre-tube 57 --numbers --draw "$root/docs/layout_$pattern.png" >/dev/null
  echo "docs/layout_$pattern.png"
done
