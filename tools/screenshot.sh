#!/usr/bin/env bash
# Takes docs/window.png: the window on a virtual display after the example 600/32/25/57, once
# its three message boxes have been dismissed.
set -euo pipefail
extra_packages=(xvfb xauth xdotool imagemagick)
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"

work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
until [ -s "$work/display" ]; do sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")" XDG_RUNTIME_DIR="$work"

"$root/build/app/korvane" 2>/dev/null &
trap 'kill $! $xvfb 2>/dev/null; rm -rf "$work"' EXIT
main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Korvane$' | head -1)
xdotool windowfocus --sync "$main"
for value in 600 32 25 57; do
  xdotool type --delay 30 "$value"
  xdotool key Tab
done
xdotool key space
for _ in 1 2 3; do
  sleep 0.5
  box=$(xdotool search --onlyvisible --name '^Korvane$' | grep -vx "$main" | head -1)
  xdotool windowfocus --sync "$box" key Return
done
sleep 0.5
import -window "$main" "$root/docs/window.png"
echo "wrote docs/window.png"
