#!/bin/bash
# The command line: --help and --version answer on stdout with 0; every bad option or value says one
# line and the usage on stderr and exits 2; a mode option opens the game without the chooser, at the
# size asked for, or in full screen kept 4:3 with bars; and with no data anywhere the game says
# where it looked, in a message box and on stderr, and exits non-zero.
set -u
cd "$1" || exit 1
. "$(dirname "$0")/chooser_lib.sh"
top=$(cd "$(dirname "$0")/../.." && pwd)
out="$CHOOSER_TMP/out"
err="$CHOOSER_TMP/err"

# --- answers without a display -------------------------------------------------------------------
env -u DISPLAY ./cornkeeper --help >"$out" 2>"$err" || fail "--help: exit code $?"
[ -s "$err" ] && fail "--help wrote to stderr: $(head -n 1 "$err")"
for name in help version window fullscreen windowed; do
  grep -q -- "--$name" "$out" || fail "--help does not list --$name"
done
grep -q "640x480, 800x600 or 1024x768" "$out" || fail "--help does not name the window sizes"
echo "ok: --help lists every option on stdout"

version=$(sed -n 's/^project([^)]*VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
[ -n "$version" ] || fail "no version in CMakeLists.txt"
env -u DISPLAY ./cornkeeper --version >"$out" 2>"$err" || fail "--version: exit code $?"
[ "$(cat "$out")" = "cornkeeper $version" ] || fail "--version says '$(cat "$out")', not 'cornkeeper $version'"
echo "ok: --version says cornkeeper $version"

# Each bad command line: exit 2, nothing on stdout, the complaint first and the usage after it.
while IFS='|' read -r args complaint; do
  rc=0
  # shellcheck disable=SC2086  # the arguments are meant to split
  env -u DISPLAY timeout 10 ./cornkeeper $args >"$out" 2>"$err" || rc=$?
  [ "$rc" = 2 ] || fail "'$args': exit code $rc, not 2"
  [ -s "$out" ] && fail "'$args': wrote to stdout"
  head -n 1 "$err" | grep -q -- "$complaint" || fail "'$args': first line '$(head -n 1 "$err")' lacks '$complaint'"
  sed -n 2p "$err" | grep -q "^Usage: cornkeeper" || fail "'$args': no usage after the complaint"
  echo "ok: '$args' exits 2: $(head -n 1 "$err")"
done <<'EOF'
--bogus|unknown option '--bogus'
-q|unknown option '-q'
--window|'--window' needs a value
--window 700x500|bad value '700x500' for --window
--window=800x600x|bad value '800x600x' for --window
--window 640X480|bad value '640X480' for --window
--windowed extra|unexpected argument 'extra'
--help=yes|'--help=yes'
EOF

# --- --window 800x600: that size at once, no chooser ---------------------------------------------
chooser_display window 1024x768
launch_game "$CHOOSER_TMP/window.out" "$CHOOSER_TMP/window.err" --window 800x600
E2E_PIDS="$E2E_PIDS $GAME_PID"
win=$(game_window) || fail "--window 800x600 opened no game window"
[ "$(geometry "$win")" = "800x600" ] || fail "--window 800x600 gave a $(geometry "$win") window"
xdotool search --name 'Screen Mode' >/dev/null 2>&1 && fail "the chooser showed despite --window"
echo "ok: --window 800x600 opens an 800x600 game window without the chooser"
settled "$win" "$CHOOSER_TMP/window.png"
hold Escape
expect_clean_exit 15 "Escape on the 800x600 title"

# --- --fullscreen on a 1280x720 display: the picture 4:3 between black bars ----------------------
chooser_display wide 1280x720
launch_game "$CHOOSER_TMP/full.out" "$CHOOSER_TMP/full.err" --fullscreen
E2E_PIDS="$E2E_PIDS $GAME_PID"
win=$(game_window) || fail "--fullscreen opened no game window"
xdotool search --name 'Screen Mode' >/dev/null 2>&1 && fail "the chooser showed despite --fullscreen"
grep -q "Mode Switch Failed" "$CHOOSER_TMP/full.err" && fail "--fullscreen fell back to a window"
settled "$win" "$CHOOSER_TMP/full_window.png"
import -window root "$CHOOSER_TMP/full.png"
for bar in 156x720+0+0 156x720+1124+0; do
  less_than "$(brightest "$CHOOSER_TMP/full.png" "$bar")" 0.02 || fail "no black bar at $bar"
done
less_than 0.2 "$(brightest "$CHOOSER_TMP/full.png" 8x720+164+0)" || fail "the picture does not reach its left edge"
less_than 0.2 "$(brightest "$CHOOSER_TMP/full.png" 8x720+1108+0)" || fail "the picture does not reach its right edge"
echo "ok: --fullscreen on 1280x720 keeps the picture 4:3 between black bars, without the chooser"
hold Escape
expect_clean_exit 15 "Escape on the full-screen title"

# --- no data anywhere: a message box naming the folders, the same on stderr, exit non-zero --------
for installed in /usr/share/cornkeeper /usr/local/share/cornkeeper; do
  if [ -d "$installed/graphics" ]; then
    echo "PASS (the no-data case is not checked: the game is installed in $installed)"
    exit 0
  fi
done
lonely="$CHOOSER_TMP/lonely/bin"
mkdir -p "$lonely" && cp ./cornkeeper "$lonely/"
chooser_display nodata 640x480
(cd "$lonely" && SDL_AUDIODRIVER=dummy exec ./cornkeeper) >"$out" 2>"$err" &
GAME_PID=$!
E2E_PIDS="$E2E_PIDS $GAME_PID"
# SDL's message box sets only a name xdotool does not search: find it in the window tree.
box=""
for _ in $(seq 100); do
  box=$(xwininfo -root -tree 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) "Error".*/\1/p' | head -n 1)
  [ -n "$box" ] && break
  has_ended "$GAME_PID" && break
  sleep 0.1
done
[ -n "$box" ] || fail "no data: no Error message box"
xdotool search --onlyvisible --name '^Cornkeeper$' >/dev/null 2>&1 && fail "no data: a game window opened"
xdotool key --window "$box" Return 2>/dev/null
wait_exit "$GAME_PID" 10
[ "$EXIT_CODE" != timeout ] || fail "no data: still running after the box was answered"
[ "$EXIT_CODE" != 0 ] || fail "no data: exit code 0"
for folder in "$lonely" "$CHOOSER_TMP/lonely/share/cornkeeper" /usr/share/cornkeeper; do
  grep -qxF "  $folder" "$err" || fail "no data: stderr does not name $folder"
done
echo "ok: with no data the game shows Error, names the folders it looked in and exits $EXIT_CODE"
echo "PASS"
