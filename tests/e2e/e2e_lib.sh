# Shared by the end-to-end scripts: an Xvfb display, the real game on it, key presses and screenshots.
# Every process started here is stopped on exit.

E2E_PIDS=""
# The game keeps settings and best games in the XDG folders: each script gets its own, empty ones.
E2E_HOME=$(mktemp -d)
export XDG_CONFIG_HOME="$E2E_HOME/config" XDG_DATA_HOME="$E2E_HOME/data"
cleanup_e2e() {
  for pid in $E2E_PIDS; do kill "$pid" 2>/dev/null; done
  for pid in $E2E_PIDS; do wait "$pid" 2>/dev/null; done
  rm -rf "$E2E_HOME"
}
trap cleanup_e2e EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# start_display WxH [LOG]: a virtual screen on a display number Xvfb finds free (so parallel
# runs never meet), ready when the function returns; its pid in XVFB_PID, its output in LOG.
start_display() {
  display_file=$(mktemp)
  # -noreset: the server otherwise resets when its last client leaves, and a game started then
  # finds no display.
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp -noreset 3>"$display_file" >"${2:-/dev/null}" 2>&1 &
  XVFB_PID=$!
  E2E_PIDS="$E2E_PIDS $XVFB_PID"
  for _ in $(seq 100); do
    if [ -s "$display_file" ]; then
      export DISPLAY=":$(head -n 1 "$display_file")"
      rm -f "$display_file"
      xdpyinfo >/dev/null 2>&1 && return 0
    fi
    sleep 0.1
  done
  rm -f "$display_file"
  fail "Xvfb did not start"
}

# has_ended PID: true once the process is gone or a zombie (a child stays one until waited for).
has_ended() {
  [ ! -e "/proc/$1" ] || grep -q '^State:[[:space:]]*Z' "/proc/$1/status" 2>/dev/null
}

# launch_game OUT ERR [OPTION]...: the real binary on $DISPLAY, silent; its pid in GAME_PID.
# A display that answers xdpyinfo but refuses the game's first connection is a hiccup of the
# virtual server, not of the game: that start is retried twice, and said so on stderr.
launch_game() {
  for attempt in 1 2 3; do
    SDL_AUDIODRIVER=dummy ./cornkeeper "${@:3}" >"$1" 2>"$2" &
    GAME_PID=$!
    for _ in $(seq 30); do
      has_ended "$GAME_PID" && break
      xdotool search --onlyvisible --name . >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    grep -q "No usable display" "$2" 2>/dev/null && xdpyinfo >/dev/null 2>&1 || return 0
    wait "$GAME_PID" 2>/dev/null
    echo "note: start $attempt found no display on a live $DISPLAY; starting again" >&2
  done
}

# start_game: the real binary on $DISPLAY; its pid in GAME_PID, stderr in game.err.
start_game() {
  launch_game game.out game.err
  E2E_PIDS="$E2E_PIDS $GAME_PID"
}

# game_window: the id of the game's window once it is mapped (the start-up chooser is not it).
# Generous waits: on a loaded machine the software renderer can take many seconds to start.
game_window() {
  for _ in $(seq 600); do
    id=$(xdotool search --onlyvisible --name '^Cornkeeper$' 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# pass_chooser: confirms the start-up chooser with its defaults, if it is showing.
pass_chooser() {
  for _ in $(seq 600); do
    chooser=$(xdotool search --onlyvisible --name 'Screen Mode' 2>/dev/null | head -n 1)
    if [ -n "$chooser" ]; then
      xdotool key --window "$chooser" Return 2>/dev/null
      # The chooser closes on the press; let the server know Return is up, or the game window
      # inherits it as held and the menus take it for a confirm.
      sleep 0.2
      xdotool keyup Return 2>/dev/null
      return 0
    fi
    xdotool search --onlyvisible --name '^Cornkeeper$' >/dev/null 2>&1 && return 0
    sleep 0.1
  done
}

# hold KEY [SECONDS]: a key held long enough for the game to see it on several frames.
hold() {
  xdotool keydown "$1"
  sleep "${2:-0.15}"
  xdotool keyup "$1"
}

# geometry WINDOW: "WxH" of the window.
geometry() {
  xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: \([0-9]*x[0-9]*\).*/\1/p'
}

# mean_brightness FILE: 0..1, the mean of all channels of a screenshot.
mean_brightness() {
  convert "$1" -colorspace Gray -format '%[fx:mean]' info:
}

# wait_exit PID SECONDS: sets EXIT_CODE to the process's exit code, or to "timeout".
# Runs in this shell (not in $(...)), so that wait can collect the child.
wait_exit() {
  EXIT_CODE=timeout
  for _ in $(seq $(( $2 * 10 ))); do
    if has_ended "$1"; then
      wait "$1"
      EXIT_CODE=$?
      return 0
    fi
    sleep 0.1
  done
}

# expect_clean_exit SECONDS WHAT: the game ends within SECONDS with exit code 0.
expect_clean_exit() {
  wait_exit "$GAME_PID" "$1"
  [ "$EXIT_CODE" = "0" ] || fail "$2: exit code $EXIT_CODE"
}
