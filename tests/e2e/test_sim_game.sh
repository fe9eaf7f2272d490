#!/bin/sh
# A whole game in the offscreen harness: from the title (starting day set to 61) through day 1, the
# store with one purchase, day 2 until the field is gone, the game over, and Escape back to the title.
# The same script must give the same trace twice.
# Usage: test_sim_game.sh BUILD_DIR   (run from the build folder, where graphics/ and sound/ live)
set -eu

top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-.}" && pwd)
keys="$top/tests/sim/whole_game.keys"
sim="$build/cornkeeper-sim"
frames=3840
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

[ -x "$sim" ] || { echo "test_sim_game: $sim not built" >&2; exit 1; }

cd "$build"
"$sim" --frames "$frames" --seed 1 --frame-ms 16 --keys "$keys" --trace "$work/first.csv" --no-draw
"$sim" --frames "$frames" --seed 1 --frame-ms 16 --keys "$keys" --trace "$work/second.csv" --no-draw
if ! cmp -s "$work/first.csv" "$work/second.csv"; then
  echo "test_sim_game: the same script gave two different traces" >&2
  diff "$work/first.csv" "$work/second.csv" | head -20 >&2
  exit 1
fi

PYTHONPATH="$top/tests/e2e" python3 - "$work/first.csv" <<'PYEOF'
import sys

from trace_checks import check, num, read_trace, report

TITLE, PLAY, STORE = 0, 1, 4
ROOSTER_RISE, DAY_RUNNING = 0, 4
INTRO_TICKS = 256
LETTER_PRICE = 200

rows = read_trace(sys.argv[1])


# The screens in the order they were shown, repeats folded.
visits = []
for r in rows:
    s = int(r["screen"])
    if not visits or visits[-1] != s:
        visits.append(s)
check(visits == [TITLE, PLAY, STORE, PLAY, TITLE], f"screens went {visits}, not title, play, store, play, title")
world = [r for r in rows if r["day"] != ""]
check(len(world) > 0, "the Play world never loaded")
report("test_sim_game")

# Day 1 starts at the day chosen on the title, with a fresh field and purse.
first = world[0]
check(num(first, "day") == 60, f"the game began on day index {first['day']}, not 60 (shown 61)")
check(num(first, "stalks") == 36 and num(first, "ears") == 36, "the field did not start with 36 one-ear stalks")
check(num(first, "money") == 0 and num(first, "score") == 0, "a new game did not start with nothing")
check(num(first, "phase") == ROOSTER_RISE and abs(num(first, "light", float) - 0.2) < 1e-3,
      "the day did not open in the dark with the rooster")

# The dawn: one tick a frame; the world stands still until the intro is done, the light rises meanwhile.
def intro_checks(segment, label):
    running = [i for i, r in enumerate(segment) if num(r, "phase") == DAY_RUNNING]
    if not running:
        check(False, f"{label}: the day never started running")
        return
    start = running[0]
    check(start == INTRO_TICKS - 1, f"{label}: the intro took {start + 1} ticks, not {INTRO_TICKS}")
    frozen = segment[:start]
    check(all(num(r, "ticksToday") == 0 for r in frozen), f"{label}: the day's clock ran during the intro")
    check(all(num(r, "crows") == 0 for r in frozen), f"{label}: crows came during the intro")
    check(len({(r["x"], r["y"]) for r in frozen}) == 1, f"{label}: the scarecrow moved during the intro")
    check(abs(num(segment[start], "light", float) - 1.0) < 1e-3, f"{label}: the light was not full by the day")
    phases = [num(r, "phase") for r in segment[:start + 1]]
    check(phases == sorted(phases), f"{label}: the intro's phases went back")


day1 = [r for r in world if num(r, "day") == 60 and int(r["screen"]) == PLAY]
intro_checks(day1, "day 1")

# The store opens when day 1 is over; the purchase spends money but not score.
store = [r for r in rows if int(r["screen"]) == STORE]
check(len(store) > 0, "the store never opened")
report("test_sim_game")
opened = store[0]
check(num(opened, "day") == 61, "the store did not open for the coming day")
check(num(opened, "money") >= LETTER_PRICE, f"day 1 earned only {opened['money']}: nothing to buy")
spends = [(b, a) for b, a in zip(store, store[1:]) if num(a, "money") != num(b, "money")]
check(len(spends) == 1, f"{len(spends)} money changes in the store, expected one purchase")
for before, after in spends:
    check(num(before, "money") - num(after, "money") == LETTER_PRICE, "the letter did not cost 200")
    check(num(after, "score") == num(before, "score"), "buying changed the score")
check(all(num(r, "ticksToday") == 0 for r in store), "the world ran while the store was open")

# Leaving the store loads the dawn of day 2 from its start; day 2 has the same frozen intro.
# (The frame whose update left the store already shows Play as the screen, but ran no tick.)
after_store = rows[rows.index(store[-1]) + 2:]
day2 = [r for r in after_store if r["day"] != "" and int(r["screen"]) == PLAY]
check(len(day2) > 0 and num(day2[0], "phase") == ROOSTER_RISE, "day 2 did not begin with its dawn")
check(len(day2) > 0 and num(day2[0], "day") == 61, "day 2 is not the day after day 1")
intro_checks(day2, "day 2")

# The HUD's money counter chases the money by one a tick: never a bigger step in play.
play = [r for r in world if int(r["screen"]) == PLAY]
for before, after in zip(play, play[1:]):
    if before["day"] != after["day"]:
        continue
    step = abs(num(after, "shownMoney") - num(before, "shownMoney"))
    if step > 1:
        check(False, f"the money counter jumped by {step} at frame {after['frame']}")
        break

# The field is lost on day 2: game over the moment the last stalk is gone, then only the fade runs.
over = [r for r in world if num(r, "gameOver") == 1]
check(len(over) > 0, "the game never ended")
report("test_sim_game")
check(num(over[0], "stalks") == 0, "the game ended with stalks standing")
check(num(over[0], "day") == 61, "the game did not end on day 2")
frozen = [(r["ticksToday"], r["money"], r["score"], r["stalks"], r["x"], r["y"]) for r in over]
check(len(set(frozen)) == 1, "the world kept moving after the game was over")
lights = [num(r, "light", float) for r in over]
check(all(b - a < 0.0101 for a, b in zip(lights, lights[1:])) and all(b <= a for a, b in zip(lights, lights[1:])),
      "the light did not fade by 0.01 a tick")
dark = [i for i, l in enumerate(lights) if l <= 1e-3]
check(len(dark) > 0 and 95 <= dark[0] <= 105, f"the world faded to black after {dark[:1]} ticks, not about 100")
check(min(lights) > -0.011, "the light fell on past black")

# Escape: the title again, with the world released.
tail = rows[rows.index(over[-1]) + 1:]
check(len(tail) > 0 and all(int(r["screen"]) == TITLE for r in tail), "Escape did not return to the title")
check(len(tail) > 1 and all(r["day"] == "" for r in tail[1:]), "the world was not released on the title")

report("test_sim_game")
print(f"test_sim_game: {len(world)} world frames; store at frame {opened['frame']} with {opened['money']}; "
      f"game over at frame {over[0]['frame']} on shown day {num(over[0], 'day') + 1}")
PYEOF
