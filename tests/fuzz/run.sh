#!/bin/sh
# Builds the image-reader fuzz target with clang++ (ASan, UBSan) in build-fuzz/ and runs it for
# SECONDS (default 60). Exits non-zero when the fuzzer finds a crash, a leak, undefined behaviour or
# an allocation larger than the input can justify; the input that did it is kept in build-fuzz/findings/.
set -eu

seconds=${1:-60}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build="$root/build-fuzz"

cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 >/dev/null

mkdir -p "$build/corpus" "$build/findings"
log="$build/fuzz.log"

# Inputs stay below 16 KiB, so no honest picture can need more than a few MiB: a larger
# allocation means a size was trusted before the data to fill it was seen.
status=0
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  "$build/fuzz_image_readers" -max_total_time="$seconds" -max_len=16384 -malloc_limit_mb=32 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/findings/" \
  "$build/corpus" "$here/corpus" >"$log" 2>&1 || status=$?

runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
if [ "$status" -ne 0 ]; then
  tail -n 60 "$log"
  echo "fuzz: FINDING after ${runs:-?} inputs (exit $status); see $build/findings/ and $log"
  exit "$status"
fi
echo "fuzz: ${runs:-?} inputs in ${seconds} s, no finding"
