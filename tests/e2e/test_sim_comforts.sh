#!/bin/sh
# The comforts in the harness, each against the whole game played without them:
# - a pause in the middle of day 1 freezes every column of the trace, and after P again the game goes
#   on exactly as it would have, shifted by the paused frames;
# - Return and Space on the title and in the store do what Ctrl does there, and in play Return, Space
#   and the sound keys change nothing;
# - with a best-games file the game over enters the table with the trace's own day and score.
# Usage: test_sim_comforts.sh BUILD_DIR
set -eu

top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-.}" && pwd)
sim="$build/cornkeeper-sim"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$build"

run() {  # keys trace [more options]
  keys=$1 trace=$2
  shift 2
  "$sim" --frames 4200 --seed 1 --frame-ms 16 --keys "$keys" --trace "$trace" --no-draw "$@"
}

run "$top/tests/sim/whole_game.keys" "$work/plain.csv"

PYTHONPATH="$top/tests/e2e" python3 - "$top/tests/sim/whole_game.keys" "$work" <<'PYEOF'
import sys

from trace_checks import read_trace

keys_file, work = sys.argv[1], sys.argv[2]
plain = read_trace(work + "/plain.csv")
PLAY = "1"
events = []
for line in open(keys_file):
    line = line.split("#")[0].split()
    if line:
        events.append((int(line[0]), line[1], line[2]))


def write(name, items):
    with open(f"{work}/{name}.keys", "w") as out:
        for frame, action, key in sorted(items, key=lambda e: e[0]):
            out.write(f"{frame} {action} {key}\n")


# Pause for 300 frames from the middle of the first day, everything after it moved on by as much.
day_running = [r["frame"] for r in plain if r["screen"] == PLAY and r["phase"] == "4"]
start, length = int(day_running[0]) + 400, 300
shifted = [(f + length if f >= start else f, a, k) for f, a, k in events]
write("paused", shifted + [(start, "tap", "p"), (start + length, "tap", "p")])

# Ctrl on the menus becomes Return or Space; in play the new keys are pressed at quiet moments.
screen_at = {int(r["frame"]): r["screen"] for r in plain}
menus, play_frames = [], []
for i, (f, a, k) in enumerate(events):
    if k == "ctrl" and a == "tap" and screen_at[f - 1] != PLAY:
        menus.append((f, a, "return" if i % 2 else "space"))
    else:
        menus.append((f, a, k))
taken = {f for f, _, _ in events}
quiet = [int(r["frame"]) for r in plain if r["screen"] == PLAY and int(r["frame"]) not in taken]
extra = ["return", "space", "m", "plus", "minus", "minus", "m", "return"]
chosen = [quiet[j * (len(quiet) // (len(extra) + 1))] for j in range(1, len(extra) + 1)]
write("menus", menus)
write("playkeys", events + [(f, "tap", k) for f, k in zip(chosen, extra)])
open(f"{work}/pause.txt", "w").write(f"{start} {length}\n")
PYEOF

run "$work/paused.keys" "$work/paused.csv"
run "$work/menus.keys" "$work/menus.csv"
run "$work/playkeys.keys" "$work/playkeys.csv"
run "$top/tests/sim/whole_game.keys" "$work/best.csv" --best-games "$work/best-games"

PYTHONPATH="$top/tests/e2e" python3 - "$work" <<'PYEOF'
import sys

from trace_checks import read_trace

work = sys.argv[1]
start, length = map(int, open(work + "/pause.txt").read().split())
plain = read_trace(work + "/plain.csv")
failures = []


def world(row):
    return {k: v for k, v in row.items() if k != "frame"}


paused = read_trace(work + "/paused.csv")
for i in range(start, start + length):
    if world(paused[i]) != world(plain[start - 1]):
        failures.append(f"paused frame {i} moved: {paused[i]}")
        break
for i in range(start, len(plain) - length):
    if world(paused[i + length]) != world(plain[i]):
        failures.append(f"after the pause frame {i + length} differs from plain frame {i}")
        break

for name in ("menus", "playkeys"):
    if [world(r) for r in read_trace(f"{work}/{name}.csv")] != [world(r) for r in plain]:
        failures.append(f"{name}: the trace differs from the game played with Ctrl alone")

last_play = [r for r in plain if r["gameOver"] == "1"][-1]
table = open(work + "/best-games").read().splitlines()
if len(table) != 2 or table[0] != "cornkeeper best games 1":
    failures.append(f"table: {table}")
else:
    score, day = table[1].split()[:2]
    if int(score) != int(last_play["score"]) or int(day) != int(last_play["day"]) + 1:
        failures.append(f"table row {table[1]} against the trace's score {last_play['score']}, day {last_play['day']}")
if read_trace(work + "/best.csv") != plain:
    failures.append("keeping a table changed the game")

for f in failures:
    print("FAIL:", f, file=sys.stderr)
sys.exit(1 if failures else 0)
PYEOF
echo PASS
