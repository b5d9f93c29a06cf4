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
# The two lane models on one layout: shell 600 mm, tube 25 mm, pitch 32 mm, 6 passes, Sn 44 mm.
for model in remove shift; do
  "$root/build/layout_cli/korvane-layout" --shell 600 --tube 25 --pitch 32 --passes 6 \
    --lane-spacing 44 --lanes "$model" --draw "$root/docs/lanes_$model.png" >/dev/null
  echo "docs/lanes_$model.png"
done
# GB/T 151's 2-pass layout of a 600 mm shell with its tie rods.
"$root/build/layout_cli/korvane-layout" --gb151 --shell 600 --tube 25 --passes 2 \
  --draw "$root/docs/gb151.png" >/dev/null
echo "docs/gb151.png"
# A 25 % baffle cut on the 6-pass layout of a 600 mm shell.
"$root/build/layout_cli/korvane-layout" --shell 600 --tube 25 --pitch 32 --passes 6 \
  --baffle-cut 25 --draw "$root/docs/baffle.png" >/dev/null
echo "docs/baffle.png"
