#!/bin/sh
# The whole game of whole_game.keys played with a pad in the offscreen harness: A and Start for Ctrl,
# the D-pad and the left stick in turn for the arrows, Back for Escape, B to leave the store, and B
# pressed in play, where it must do nothing. Its trace must equal the same play with the keys, byte for
# byte, and that play must reach the store, buy, come back to the field and end on the title.
# Usage: test_sim_pad.sh BUILD_DIR   (run from the build folder, where graphics/ and sound/ live)
set -eu

top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-.}" && pwd)
sim="$build/cornkeeper-sim"
frames=3840
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

[ -x "$sim" ] || { echo "test_sim_pad: $sim not built" >&2; exit 1; }

# Each line of the game becomes a keyboard line and its pad twin.
python3 - "$top/tests/sim/whole_game.keys" "$work/keys.keys" "$work/pad.keys" <<'PYEOF'
import sys

source, keys_out, pad_out = sys.argv[1:]
STORE_LEAVE = 2619  # Ctrl on the store's exit: the pad leaves with B, the keys with Escape
B_IN_PLAY = (700, 1500, 2200)
arrow = {"left", "right", "up", "down"}
stick = {"left": "-1 0", "right": "1 0", "up": "0 -1", "down": "0 1"}
keys, pad = [], []
turn = 0
found_leave = False
for line in open(source):
    words = line.split("#")[0].split()
    if not words:
        continue
    frame, action, key = words
    turn += 1
    keys.append(f"{frame} {action} {key}")
    if key == "ctrl" and int(frame) == STORE_LEAVE:
        found_leave = True
        keys[-1] = f"{frame} tap escape"
        pad.append(f"{frame} tap pad-b")
    elif key == "ctrl":
        pad.append(f"{frame} {action} {'pad-a' if turn % 2 else 'pad-start'}")
    elif key == "escape":
        pad.append(f"{frame} {action} pad-back")
    elif key in arrow and action != "tap" and (int(frame) // 45) % 2:
        pad.append(f"{frame} stick {stick[key] if action == 'down' else '0 0'}")
    elif key in arrow:
        pad.append(f"{frame} {action} pad-{key}")
    else:
        sys.exit(f"test_sim_pad: no pad twin for '{line.strip()}'")
if not found_leave:
    sys.exit("test_sim_pad: the game no longer leaves the store at the expected frame")
pad += [f"{frame} tap pad-b" for frame in B_IN_PLAY]
open(keys_out, "w").write("\n".join(keys) + "\n")
open(pad_out, "w").write("\n".join(pad) + "\n")
PYEOF

cd "$build"
"$sim" --frames "$frames" --seed 1 --frame-ms 16 --keys "$work/keys.keys" --trace "$work/keys.csv" --no-draw
"$sim" --frames "$frames" --seed 1 --frame-ms 16 --keys "$work/pad.keys" --trace "$work/pad.csv" --no-draw
if ! cmp -s "$work/keys.csv" "$work/pad.csv"; then
  echo "test_sim_pad: the pad gave another trace than the keys" >&2
  diff "$work/keys.csv" "$work/pad.csv" | head -20 >&2
  exit 1
fi

PYTHONPATH="$top/tests/e2e" python3 - "$work/pad.csv" <<'PYEOF'
import sys

from trace_checks import check, num, read_trace, report

TITLE, PLAY, STORE = 0, 1, 4
rows = read_trace(sys.argv[1])
screens = [int(r["screen"]) for r in rows]
shown = [s for i, s in enumerate(screens) if i == 0 or screens[i - 1] != s]
check(shown[:4] == [TITLE, PLAY, STORE, PLAY], f"screens went {shown}, not title, play, store, play")
check(shown[-1] == TITLE, "the pad's Back did not end on the title")
store = [r for r in rows if int(r["screen"]) == STORE and r["money"] != ""]
check(store and num(store[-1], "money") < num(store[0], "money"), "nothing was bought in the store")
days = [num(r, "day") for r in rows if r["day"] != ""]
check(days and max(days) == min(days) + 1, "the game did not go on to a second day")
report("test_sim_pad")
PYEOF
echo "test_sim_pad: the pad's game matches the keys' over $frames frames"
