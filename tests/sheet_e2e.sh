#!/usr/bin/env bash
# Starts korvane-sheet on a virtual X display and drives it from outside with the keyboard, as
# a designer would: type the diameter, tube and pitch, pick 4 passes, Tab down to the total and
# copy it. The counts must be korvane-layout's; closed and started again, the window shows what
# was typed.
# Usage: sheet_e2e.sh KORVANE_SHEET KORVANE_LAYOUT CLOSE_WINDOW
set -euo pipefail

sheet=$1
korvane_layout=$2
close_window=$3
source "$(dirname "${BASH_SOURCE[0]}")/x_session.sh"
export XDG_CONFIG_HOME="$work/config"
title='^Korvane 管板布置$'

start() {
  "$sheet" 2>>"$work/sheet.log" &
  app=$!
  pids+=("$app")
  main=$(timeout 60 xdotool search --sync --onlyvisible --name "$title" | head -1) \
    || fail "the window did not appear: $(cat "$work/sheet.log")"
  xdotool windowfocus --sync "$main"
}

# Copies the focused box until it reads what is expected: the count follows the typing after
# a pause, on another thread.
expect_box() {
  local name=$1 expected=$2 got=""
  for _ in $(seq 120); do
    clear_clipboard
    xdotool key ctrl+a ctrl+c
    got=$(clipboard)
    [ "$got" = "$expected" ] && break
    sleep 0.5
  done
  [ "$got" = "$expected" ] || fail "$name: expected '$expected', got '$got'"
  echo "ok: $name = $got"
}

total_of() {
  "$korvane_layout" --json "$@" | sed -n 's/^  "total": \([0-9]*\),$/\1/p'
}

start
# The diameter box has the focus; the tube and pitch boxes follow it.
xdotool key ctrl+a
xdotool type --delay 30 1000
xdotool key Tab ctrl+a
xdotool type --delay 30 19
xdotool key Tab ctrl+a
xdotool type --delay 30 25
# Pattern, then passes: two steps down the list, 1 to 4.
xdotool key Tab Tab Down Down
# The total's label has a key of its own.
xdotool key alt+l
expect_box "total for 4 passes" "$(total_of --shell 1000 --tube 19 --pitch 25 --passes 4)"

close_and_wait "$close_window" "$main" "$app"
[ "$closed_status" = 0 ] || fail "exit status $closed_status after closing"

# Started again, it shows the same sheet.
start
expect_box "diameter kept" 1000
"$close_window" "$main"
