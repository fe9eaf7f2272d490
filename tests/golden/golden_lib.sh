# Shared by scripts/update-golden and tests/e2e/test_golden.sh: which frames, and how they are made.
# The caller sets top to the repository's root before sourcing this.

golden_dir="$top/tests/golden"
golden_keys="$top/tests/sim/whole_game.keys"
golden_size=80x60

# golden_entries: "FRAME NAME" lines of frames.txt, comments dropped.
golden_entries() {
  sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$golden_dir/frames.txt"
}

golden_names() {
  golden_entries | awk '{print $2}'
}

# render_golden_frames BUILD_DIR OUT_DIR: OUT_DIR/NAME.png for every entry, an eighth of the size each way.
render_golden_frames() {
  shots=""
  last=0
  for frame in $(golden_entries | awk '{print $1}'); do
    name=$(golden_entries | awk -v f="$frame" '$1 == f {print $2}')
    shots="$shots --shot $frame:$2/$name.full.png"
    [ "$frame" -gt "$last" ] && last=$frame
  done
  # Run from the build folder, where graphics/ and sound/ are.
  # shellcheck disable=SC2086  # the shot options are meant to split
  (cd "$1" && ./cornkeeper-sim --frames $((last + 1)) --seed 1 --frame-ms 16 --keys "$golden_keys" \
    --no-draw $shots)
  for name in $(golden_names); do
    # A box filter averages each 8x8 block: a stable signature of the frame that ignores single pixels.
    convert "$2/$name.full.png" -filter Box -resize "$golden_size!" -strip "$2/$name.png"
  done
}
