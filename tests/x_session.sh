# Sourced by the end-to-end tests: a virtual X display of the test's own, a folder that is
# cleaned up with every process the test started (append to pids), and the clipboard read
# back without guessing how long a copy takes.

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# Every wait is for something to happen, bounded only so that a fault fails instead of hanging:
# under the sanitizers on a busy machine, starting and ending take many seconds.
patience=600 # times 0.05 s

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Xvfb picks a free display itself and writes its number to fd 3.
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq $patience); do
  [ -s "$work/display" ] && break
  sleep 0.05
done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -1 "$work/display")"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM QT_SCALE_FACTOR
export XDG_RUNTIME_DIR="$work"

# A copy is waited for, not given a time: the clipboard holds a marker until the window's
# text replaces it, which a busy machine may take a while to do.
marker=korvane-e2e-nothing-copied
clear_clipboard() {
  printf '%s' "$marker" | xclip -selection clipboard >/dev/null 2>&1
}
clipboard() {
  local text=$marker
  for _ in $(seq $patience); do
    text=$(xclip -o -selection clipboard 2>/dev/null || true)
    [ "$text" != "$marker" ] && [ -n "$text" ] && break
    sleep 0.05
  done
  printf '%s\n' "$text"
}


# Closes WINDOW as a window manager's close button does, waits for PID to end and keeps its
# exit status in closed_status (not printed: a subshell cannot wait for the program).
# Usage: close_and_wait CLOSE_WINDOW WINDOW PID
close_and_wait() {
  "$1" "$2"
  for _ in $(seq $patience); do
    kill -0 "$3" 2>/dev/null || break
    sleep 0.05
  done
  kill -0 "$3" 2>/dev/null && fail "the program still runs after its window was closed"
  closed_status=0
  wait "$3" || closed_status=$?
}
