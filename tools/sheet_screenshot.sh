#!/usr/bin/env bash
# Takes docs/sheet.png: the layout window on a virtual display, showing a shell of 1000 mm with
# 25 mm tubes at 32 mm, 4 passes and a 57 mm centre tube.
set -euo pipefail
extra_packages=(xvfb xauth xdotool imagemagick)
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"

work=$(mktemp -d)
chmod 700 "$work"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
until [ -s "$work/display" ]; do sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")" XDG_RUNTIME_DIR="$work" XDG_CONFIG_HOME="$work"

"$root/build/layout_ui/korvane-sheet" --shell 1000 --tube 25 --pitch 32 --passes 4 \
  --centre-tube 57 2>/dev/null &
trap 'kill $! $xvfb 2>/dev/null; rm -rf "$work"' EXIT
main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Korvane 管板布置$' | head -1)
# The drawing follows a moment after the inputs; a tool may simply wait for it.
sleep 2
import -window "$main" "$root/docs/sheet.png"
echo "wrote docs/sheet.png"
