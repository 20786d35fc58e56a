# Sourced by the scripts that run the built program under xvfb-run.
# wait_for_window: sets `win` to the visible window named "Parlenda" once it
# shows (up to 30 s: a loaded machine starts it late), or leaves it empty.
wait_for_window() {
  win=""
  for _ in $(seq 1 300); do
    win=$(xdotool search --onlyvisible --name '^Parlenda$' 2>/dev/null | head -n 1 || true)
    [ -n "$win" ] && return 0
    sleep 0.1
  done
}
