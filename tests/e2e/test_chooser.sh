#!/bin/bash
# The start-up chooser on a virtual display, with the real game: it appears centred before any game
# window, ignores Escape, and every choice opens the window it promises: the defaults a 640x480
# window; 800x600 chosen by keyboard a window with the title stretched over it (still stretched when
# the window is reshaped); 1024x768 and 32 bits chosen with the mouse and OK clicked a 1024x768
# window; full screen at 1024x768 on a 1280x720 display the picture kept 4:3 between black bars left
# and right. The next start preselects the last choice. Closing the chooser from outside ends the
# program with exit code 0 and no game window.
# Usage: test_chooser.sh BUILD_FOLDER   (set CHOOSER_KEEP=1 to keep the screenshots)
set -u
here=$(cd "$(dirname "$0")" && pwd)
cd "$1" || exit 1
. "$here/chooser_lib.sh"

[ -x ./cornkeeper ] || fail "no ./cornkeeper in $1"
cc -o "$CHOOSER_TMP/chooser_close_request" "$here/chooser_close_request.c" -lX11 ||
  fail "could not build the close-request helper"
shots=$CHOOSER_TMP

# Points of the chooser window in pixels (dialog units times 1.5 across and 1.625 down):
# the marks of the radio buttons, and the middles of the controls to click.
MARK_640_X=14; MARK_800_X=119; MARK_1024_X=221; RESOLUTION_Y=186
MARK_16_X=14; MARK_32_X=119; DEPTH_Y=209
CLICK_1024="256 186"; CLICK_32="154 209"; CLICK_OK="251 234"

is_marked() { less_than 0.2 "$(blueness "$1" "$2" "$3")"; }

# --- the chooser, Escape, and the defaults -------------------------------------------------------
chooser_display tall 1280x1024
chooser_start_game defaults
chooser=$(chooser_window) || fail "the chooser did not appear"
size=$(geometry "$chooser")
w=${size%x*}; h=${size#*x}
[ "$w" -ge 290 ] && [ "$w" -le 320 ] && [ "$h" -ge 245 ] && [ "$h" -le 275 ] ||
  fail "the chooser is $size, not about 300x260"
read -r x y <<<"$(position "$chooser")"
[ $(( x - (1280 - w) / 2 )) -ge -2 ] && [ $(( x - (1280 - w) / 2 )) -le 2 ] &&
  [ $(( y - (1024 - h) / 2 )) -ge -2 ] && [ $(( y - (1024 - h) / 2 )) -le 2 ] ||
  fail "the chooser is at $x,$y, not centred"
game_window 1 >/dev/null && fail "a game window exists before anything was chosen"
sleep 0.5
import -window "$chooser" "$shots/chooser.png"
spread=$(convert "$shots/chooser.png" -colorspace Gray -format '%[fx:standard_deviation]' info:)
less_than 0.08 "$spread" || fail "the chooser looks blank (deviation $spread)"
is_marked "$shots/chooser.png" $MARK_640_X $RESOLUTION_Y || fail "640x480 is not marked at the start"
is_marked "$shots/chooser.png" $MARK_16_X $DEPTH_Y || fail "16bpp is not marked at the start"
is_marked "$shots/chooser.png" $MARK_800_X $RESOLUTION_Y && fail "800x600 is marked at the start"
is_marked "$shots/chooser.png" $MARK_32_X $DEPTH_Y && fail "32bpp is marked at the start"
echo "ok: a ${size} chooser, centred at $x,$y, with 640x480 and 16bpp marked"

chooser_key Escape
sleep 1
kill -0 "$GAME_PID" 2>/dev/null || fail "Escape ended the program"
chooser_window 1 >/dev/null || fail "Escape closed the chooser"
game_window 1 >/dev/null && fail "Escape opened the game"
echo "ok: Escape does nothing"

chooser_key Return
win=$(game_window) || fail "OK with the defaults opened no game window"
[ "$(geometry "$win")" = "640x480" ] || fail "the defaults gave a $(geometry "$win") window"
chooser_window 1 >/dev/null && fail "the chooser is still showing beside the game"
settled "$win" "$shots/title640.png"
echo "ok: the defaults open a 640x480 game window"
close_request "$win"
expect_clean_exit 15 "closing the game window"

# --- 800x600 by keyboard: the title stretched over the whole window ------------------------------
chooser_start_game keyboard
chooser=$(chooser_window) || fail "the chooser did not appear the second time"
chooser_key Right
import -window "$chooser" "$shots/chooser800.png"
is_marked "$shots/chooser800.png" $MARK_800_X $RESOLUTION_Y || fail "Right did not mark 800x600"
is_marked "$shots/chooser800.png" $MARK_640_X $RESOLUTION_Y && fail "Right left 640x480 marked"
chooser_key Return
win=$(game_window) || fail "800x600 opened no game window"
[ "$(geometry "$win")" = "800x600" ] || fail "800x600 gave a $(geometry "$win") window"
settled "$win" "$shots/title800.png"
# Drawn unstretched, the 640x480 picture would leave the top 120 rows and the right 160 columns black.
for strip in 800x120+0+0 160x600+640+0; do
  less_than 0.2 "$(brightest "$shots/title800.png" "$strip")" || fail "the strip $strip of the 800x600 window is black"
done
convert "$shots/title800.png" -resize '640x480!' "$shots/title800as640.png"
diff=$(rmse "$shots/title640.png" "$shots/title800as640.png")
less_than "$diff" 0.04 || fail "the 800x600 title is not the 640x480 title stretched (RMSE $diff)"
echo "ok: 800x600 by keyboard opens an 800x600 window with the title stretched over it (RMSE $diff)"
# A window the player reshapes is stretched, not kept 4:3: no bars in a wide, low window.
xdotool windowsize "$win" 960 480
sleep 1
settled "$win" "$shots/title960x480.png"
[ "$(identify -format %wx%h "$shots/title960x480.png")" = "960x480" ] || fail "the window did not take 960x480"
for strip in 40x480+0+0 40x480+920+0; do
  less_than 0.2 "$(brightest "$shots/title960x480.png" "$strip")" || fail "a bar at $strip of the 960x480 window"
done
convert "$shots/title960x480.png" -resize '640x480!' "$shots/title960as640.png"
diff=$(rmse "$shots/title640.png" "$shots/title960as640.png")
less_than "$diff" 0.04 || fail "the 960x480 window does not show the whole title stretched (RMSE $diff)"
echo "ok: a window reshaped to 960x480 stretches the title over it (RMSE $diff)"
close_request "$win"
expect_clean_exit 15 "closing the 800x600 game window"

# --- the mouse: 1024x768, 32 bits, and a click on OK ---------------------------------------------
chooser_start_game mouse
chooser=$(chooser_window) || fail "the chooser did not appear the third time"
chooser_click "$chooser" $CLICK_1024
chooser_click "$chooser" $CLICK_32
import -window "$chooser" "$shots/chooser_clicked.png"
is_marked "$shots/chooser_clicked.png" $MARK_1024_X $RESOLUTION_Y || fail "a click did not mark 1024x768"
is_marked "$shots/chooser_clicked.png" $MARK_32_X $DEPTH_Y || fail "a click did not mark 32bpp"
is_marked "$shots/chooser_clicked.png" $MARK_640_X $RESOLUTION_Y && fail "640x480 still marked after a click"
chooser_click "$chooser" $CLICK_OK
win=$(game_window) || fail "a click on OK opened no game window"
[ "$(geometry "$win")" = "1024x768" ] || fail "1024x768 gave a $(geometry "$win") window"
echo "ok: clicks on 1024x768, 32bpp and OK open a 1024x768 window"
close_request "$win"
expect_clean_exit 15 "closing the 1024x768 game window"

# --- closing the chooser from outside ends the program -------------------------------------------
# It starts on the last choice, remembered in the settings file under XDG_CONFIG_HOME.
grep -qx 'width=1024' "$XDG_CONFIG_HOME/cornkeeper/settings" && grep -qx 'depth=32' "$XDG_CONFIG_HOME/cornkeeper/settings" ||
  fail "the settings file does not hold the last choice: $(cat "$XDG_CONFIG_HOME/cornkeeper/settings" 2>&1)"
chooser_start_game closed
chooser=$(chooser_window) || fail "the chooser did not appear the fourth time"
sleep 0.5
import -window "$chooser" "$shots/chooser_remembered.png"
is_marked "$shots/chooser_remembered.png" $MARK_1024_X $RESOLUTION_Y || fail "the remembered 1024x768 is not marked"
is_marked "$shots/chooser_remembered.png" $MARK_32_X $DEPTH_Y || fail "the remembered 32bpp is not marked"
is_marked "$shots/chooser_remembered.png" $MARK_640_X $RESOLUTION_Y && fail "640x480 marked over the remembered choice"
echo "ok: the next start preselects the remembered 1024x768 and 32bpp"
close_request "$chooser"
expect_clean_exit 10 "a close request to the chooser"
grep -q "Error Creating OpenGL Window" "$shots/closed.err" && fail "the game tried to start after the close"
echo "ok: a close request to the chooser ends the program with exit code 0"

# --- full screen at 1024x768 on a 1280x720 display: 4:3 with bars left and right -----------------
chooser_display wide 1280x720
chooser_start_game full
chooser=$(chooser_window) || fail "the chooser did not appear on the wide display"
chooser_key Right
chooser_key Right
chooser_key Tab
chooser_key Tab
chooser_key space
chooser_key Return
win=$(game_window) || fail "full screen opened no game window"
grep -q "Mode Switch Failed" "$shots/full.err" && fail "full screen fell back to a window"
settled "$win" "$shots/full_window.png"
import -window root "$shots/full.png"
[ "$(identify -format %wx%h "$shots/full.png")" = "1280x720" ] || fail "unexpected screen size"
# 4:3 at 720 rows is 960 columns, centred: 160 black columns on each side.
for bar in 156x720+0+0 156x720+1124+0; do
  less_than "$(brightest "$shots/full.png" "$bar")" 0.02 || fail "no black bar at $bar"
done
for edge in 8x720+164+0 8x720+1108+0 960x8+160+0 960x8+160+712; do
  less_than 0.2 "$(brightest "$shots/full.png" "$edge")" || fail "the picture does not reach $edge"
done
convert "$shots/full.png" -crop 960x720+160+0 +repage -resize '640x480!' "$shots/full_as640.png"
diff=$(rmse "$shots/title640.png" "$shots/full_as640.png")
less_than "$diff" 0.04 || fail "the full-screen picture is not the title kept at 4:3 (RMSE $diff)"
echo "ok: full screen at 1024x768 on 1280x720 shows the title at 960x720 between black bars (RMSE $diff)"
close_request "$win"
expect_clean_exit 15 "closing the full-screen game"

echo "PASS"
