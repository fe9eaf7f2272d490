# Helpers for the start-up chooser's end-to-end script: virtual displays, the real game on them,
# keys and clicks held long enough to be seen, screenshots and their measures.
# Every process started here is stopped on every way out of the script.

# The display, the game's start, geometry and exits come from the shared helpers; the chooser keeps
# its own clean-up, failure report and window waits, defined below (they replace the shared ones).
. "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

CHOOSER_TMP=$(mktemp -d /tmp/cornkeeper-chooser-XXXXXX)

chooser_cleanup() {
  cleanup_e2e
  if [ -n "${CHOOSER_KEEP:-}" ]; then
    echo "screenshots kept in $CHOOSER_TMP" >&2
  else
    rm -rf "$CHOOSER_TMP"
  fi
}
trap chooser_cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

fail() {
  echo "FAIL: $*" >&2
  # What the game said and which windows were up, to tell a slow start from a missing window.
  for err in "$CHOOSER_TMP"/*.err "$CHOOSER_TMP"/xvfb*.log; do
    [ -s "$err" ] && { echo "--- $(basename "$err"):" >&2; tail -n 5 "$err" >&2; }
  done
  [ -n "${DISPLAY:-}" ] && xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | head -n 5 >&2
  exit 1
}

# chooser_display NAME WxH: a virtual screen of its own, its log kept for the failure report.
chooser_display() {
  start_display "$2" "$CHOOSER_TMP/xvfb-$1.log"
}

# chooser_start_game NAME: the real binary on $DISPLAY, silent; its pid in GAME_PID,
# its standard error in $CHOOSER_TMP/NAME.err.
chooser_start_game() {
  kill -0 "$XVFB_PID" 2>/dev/null && xdpyinfo >/dev/null 2>&1 || fail "display $DISPLAY is gone"
  launch_game "$CHOOSER_TMP/$1.out" "$CHOOSER_TMP/$1.err"
  E2E_PIDS="$E2E_PIDS $GAME_PID"
}

# chooser_find_window PATTERN [SECONDS]: the id of the first visible window whose name matches;
# gives up early once the game has ended.
chooser_find_window() {
  for _ in $(seq $(( ${2:-20} * 10 ))); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    has_ended "$GAME_PID" && return 1
    sleep 0.1
  done
  return 1
}

# Generous waits: on a loaded machine the software renderer can take many seconds to start.
chooser_window() { chooser_find_window '^Select Screen Mode$' "${1:-60}"; }
game_window() { chooser_find_window '^Cornkeeper$' "${1:-60}"; }

# chooser_key KEY: pressed and released several frames apart.
chooser_key() {
  xdotool keydown "$1"
  sleep 0.12
  xdotool keyup "$1"
  sleep 0.12
}

# chooser_click WINDOW X Y: the left button pressed and released at a point of the window.
chooser_click() {
  xdotool mousemove --window "$1" "$2" "$3"
  sleep 0.1
  xdotool mousedown 1
  sleep 0.12
  xdotool mouseup 1
  sleep 0.12
}

# position WINDOW: "X Y".
position() {
  xdotool getwindowgeometry "$1" | sed -n 's/.*Position: \(-\{0,1\}[0-9]*\),\(-\{0,1\}[0-9]*\).*/\1 \2/p'
}

# close_request WINDOW: what a window manager sends when the player closes a window.
close_request() {
  "$CHOOSER_TMP/chooser_close_request" "$1" || fail "could not send a close request to $1"
}

# rmse A B: the normalised root-mean-square difference of two pictures of one size (0..1).
rmse() {
  compare -metric RMSE "$1" "$2" null: 2>&1 | sed -n 's/.*(\([0-9.e+-]*\)).*/\1/p'
}

# less_than A B: true when the number A is below B.
less_than() {
  awk -v a="$1" -v b="$2" 'BEGIN { exit !(a + 0 < b + 0) }'
}

# settled WINDOW OUT: waits until the window's picture stops changing, keeps the last one in OUT.
# The title rises and fades in; a slow software renderer stretches that over more seconds.
settled() {
  local previous="$CHOOSER_TMP/settle_a.png" current="$CHOOSER_TMP/settle_b.png"
  import -window "$1" "$previous" 2>/dev/null
  for _ in $(seq 60); do
    sleep 1
    import -window "$1" "$current" 2>/dev/null || continue
    if [ "$(identify -format %wx%h "$current")" = "$(identify -format %wx%h "$previous")" ] &&
       less_than "$(rmse "$previous" "$current")" 0.002; then
      cp "$current" "$2"
      return 0
    fi
    cp "$current" "$previous"
  done
  fail "the picture of window $1 never settled"
}

# blueness FILE X Y: how much bluer than red the 4x4 pixels around (X, Y) are (-1..1).
blueness() {
  convert "$1" -crop "4x4+$(( $2 - 2 ))+$(( $3 - 2 ))" +repage -format '%[fx:mean.b-mean.r]' info:
}

# brightest FILE GEOMETRY: the largest channel value (0..1) in a region of a picture.
brightest() {
  convert "$1" -crop "$2" +repage -format '%[fx:maxima]' info:
}
