#!/bin/sh
# Golden frames: the whole-game script rendered by the harness at the frames of tests/golden/frames.txt
# must match the stored references (80 x 60) within a small RMSE. When a picture or a screen's
# drawing changes on purpose, regenerate them with scripts/update-golden.
# Usage: test_golden.sh BUILD_DIR
set -eu

top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-.}" && pwd)
tolerance=${GOLDEN_TOLERANCE:-0.02}  # normalised RMSE, 0..1
. "$top/tests/golden/golden_lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

[ -x "$build/cornkeeper-sim" ] || { echo "test_golden: $build/cornkeeper-sim not built" >&2; exit 1; }
render_golden_frames "$build" "$work"

failed=0
for name in $(golden_names); do
  reference="$golden_dir/$name.png"
  if [ ! -f "$reference" ]; then
    echo "test_golden: no reference $reference (run scripts/update-golden)" >&2
    failed=1
    continue
  fi
  # compare prints "absolute (normalised)" on stderr and exits 1 when the pictures differ at all.
  result=$(compare -metric RMSE "$reference" "$work/$name.png" null: 2>&1 || true)
  rmse=$(echo "$result" | sed -n 's/.*(\([0-9.e+-]*\)).*/\1/p')
  if [ -z "$rmse" ]; then
    echo "test_golden: $name: compare failed: $result" >&2
    failed=1
  elif awk -v r="$rmse" -v t="$tolerance" 'BEGIN { exit !(r > t) }'; then
    echo "test_golden: $name differs from its reference: RMSE $rmse > $tolerance" >&2
    cp "$work/$name.png" "$build/golden-$name.actual.png" 2>/dev/null || true
    failed=1
  else
    echo "test_golden: $name RMSE $rmse"
  fi
done

# A reference must be worth comparing with: not blank.
for name in $(golden_names); do
  [ -f "$golden_dir/$name.png" ] || continue
  mean=$(convert "$golden_dir/$name.png" -colorspace Gray -format '%[fx:mean]' info:)
  if awk -v m="$mean" 'BEGIN { exit !(m < 0.01) }'; then
    echo "test_golden: reference $name is blank" >&2
    failed=1
  fi
done
exit $failed
