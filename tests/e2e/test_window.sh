#!/bin/bash
# The real game on a virtual display: the window opens and draws, Escape on the title ends the
# program with exit code 0, Alt+Enter switches to full screen and back while the game keeps
# drawing, and without any display the game says so and exits at once.
set -u
cd "$1" || exit 1
. "$(dirname "$0")/e2e_lib.sh"
shots=$(mktemp -d)

# No display at all: one clear line and a non-zero exit, within seconds.
rc=0
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER= SDL_AUDIODRIVER=dummy timeout 20 ./cornkeeper \
  >/dev/null 2>"$shots/nodisplay.err" || rc=$?
[ "$rc" -ne 0 ] || fail "no display: exit code 0"
[ "$rc" -ne 124 ] || fail "no display: still running after 20 s"
grep -qi "display" "$shots/nodisplay.err" || fail "no display: no message on stderr"
echo "ok: without a display the game exits with $rc: $(head -n 1 "$shots/nodisplay.err")"

# A 640x480 window that draws, and Escape on the title quits with 0.
start_display 640x480
start_game
pass_chooser
win=$(game_window) || fail "the game window did not appear"
[ "$(geometry "$win")" = "640x480" ] || fail "window is $(geometry "$win"), not 640x480"
sleep 4
import -window root "$shots/title.png"
bright=$(mean_brightness "$shots/title.png")
awk -v b="$bright" 'BEGIN { exit !(b > 0.05) }' || fail "the title screen is black (mean $bright)"
echo "ok: 640x480 window drawing the title (mean brightness $bright)"
hold Escape
expect_clean_exit 15 "Escape on the title"
echo "ok: Escape on the title ends the game with exit code 0"

# Alt+Enter: full screen and back; the game keeps drawing and taking keys.
start_display 640x480
start_game
pass_chooser
win=$(game_window) || fail "the game window did not appear"
sleep 5  # the menu takes keys once the title has faded in
xdotool key alt+Return
sleep 1
state=$(xprop -id "$win" _NET_WM_STATE 2>/dev/null)
import -window root "$shots/full1.png"
hold Down
sleep 1
import -window root "$shots/full2.png"
diff=$(compare -metric AE "$shots/full1.png" "$shots/full2.png" null: 2>&1)
[ "${diff%% *}" -gt 100 ] 2>/dev/null || fail "full screen: the frame did not change after Down (AE $diff)"
echo "ok: full screen draws and takes keys ($state)"
xdotool key alt+Return
sleep 1
[ "$(geometry "$win")" = "640x480" ] || fail "back in a window of $(geometry "$win")"
import -window root "$shots/window1.png"
hold Up
sleep 1
import -window root "$shots/window2.png"
diff=$(compare -metric AE "$shots/window1.png" "$shots/window2.png" null: 2>&1)
[ "${diff%% *}" -gt 100 ] 2>/dev/null || fail "back in a window: the frame did not change after Up (AE $diff)"
kill -0 "$GAME_PID" 2>/dev/null || fail "the game died during the full-screen toggle"
echo "ok: back in a 640x480 window, still drawing"
hold Escape
expect_clean_exit 15 "after the toggles"
rm -rf "$shots"
echo "PASS"
