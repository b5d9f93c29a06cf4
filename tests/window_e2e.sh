#!/usr/bin/env bash
# Starts the real window on a virtual X display and drives it from outside with the keyboard,
# as a user would: type into the focused box, Tab, Space on the button, Enter on each message
# box. Results are read back through the clipboard.
# Usage: window_e2e.sh KORVANE CLOSE_WINDOW
set -euo pipefail

korvane=$1
close_window=$2
source "$(dirname "${BASH_SOURCE[0]}")/x_session.sh"

"$korvane" 2>"$work/korvane.log" &
app=$!
pids+=("$app")

windows() { xdotool search --onlyvisible --name '^Korvane$' 2>/dev/null || true; }

main=$(timeout 60 xdotool search --sync --onlyvisible --name '^Korvane$' | head -1) \
  || fail "the window did not appear"

# Waits for a message box, copies its text, dismisses it with Enter; prints the text.
dismiss_box() {
  local box=""
  for _ in $(seq $patience); do
    box=$(windows | grep -vx "$main" | head -1 || true)
    [ -n "$box" ] && break
    sleep 0.05
  done
  [ -n "$box" ] || fail "no message box appeared"
  xdotool windowfocus --sync "$box"
  clear_clipboard
  xdotool key ctrl+c
  clipboard
  xdotool key Return
  for _ in $(seq $patience); do
    windows | grep -qx "$box" || return 0
    sleep 0.05
  done
  fail "the message box did not close on Enter"
}

no_more_boxes() {
  sleep 0.5
  [ "$(windows | grep -vxc "$main" || true)" = 0 ] || fail "an unexpected message box is open"
}

# Reads Text2: from the button, Tab reaches it; select all and copy.
result() {
  xdotool windowfocus --sync "$main"
  clear_clipboard
  xdotool key Tab ctrl+a ctrl+c
  clipboard
}

expect() {
  [ "$2" = "$3" ] || fail "$1: expected '$3', got '$2'"
  echo "ok: $1 = $2"
}

# Focus starts in the shell box; the inputs follow in tab order, then the button.
xdotool windowfocus --sync "$main"
xdotool type --delay 30 600
xdotool key Tab
xdotool type --delay 30 32
xdotool key Tab
xdotool type --delay 30 25
xdotool key Tab
xdotool type --delay 30 57
xdotool key Tab space
expect "first box" "$(dismiss_box)" "总的管束283"
expect "second box" "$(dismiss_box)" "中心去掉的管束7"
expect "third box" "$(dismiss_box)" " 最后管束276"
no_more_boxes
expect "Text2" "$(result)" "276"

# A zero pitch: the error is reported, the window stays and Text2 keeps its result.
xdotool key Tab Tab ctrl+a
xdotool type --delay 30 0
xdotool key Tab Tab Tab space
expect "error box" "$(dismiss_box | paste -sd '|')" "实时错误 '6':||溢出"
no_more_boxes
kill -0 "$app" 2>/dev/null || fail "the program ended after a run-time error"
expect "Text2 after the error" "$(result)" "276"

# Enter in a text box does nothing: the button is not the default. Pitch 25 and tube 19 would
# change the result; Space on the button then calculates them.
xdotool key Tab Tab ctrl+a
xdotool type --delay 30 25
xdotool key Tab ctrl+a
xdotool type --delay 30 19
xdotool key Return
no_more_boxes
xdotool key Tab Tab
expect "Text2 after Enter" "$(result)" "276"
xdotool key shift+Tab space
expect "total for pitch 25" "$(dismiss_box)" "总的管束463"
dismiss_box >/dev/null
dismiss_box >/dev/null
no_more_boxes
expect "Text2 for pitch 25" "$(result)" "450"

# Closing the window ends the program, cleanly.
close_and_wait "$close_window" "$main" "$app"
expect "exit status after closing" "$closed_status" "0"
