#!/usr/bin/env bash
# Builds the readers' libFuzzer harnesses with clang (in build-fuzz/) and runs each
# for the given number of seconds, one process at a time, on a working copy of its
# seed corpus. New inputs that crash are left as crash-* files in build-fuzz/findings/;
# add them to tests/fuzz/corpus/<harness>/ as regression_* once fixed.
#   scripts/fuzz.sh [seconds per harness, default 60] [harness...]
set -euo pipefail

seconds=${1:-60}
shift || true
harnesses=("$@")
[ ${#harnesses[@]} -eq 0 ] && harnesses=(solving_file kvx_file contour_file)

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
CXX=clang++ CC=clang cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSHELLFEM_FUZZ=ON -DSHELLFEM_BUILD_TESTS=OFF -DSHELLFEM_BUILD_GUI=OFF \
  -DSHELLFEM_NATIVE=OFF > /dev/null
targets=()
for h in "${harnesses[@]}"; do targets+=("${h}_fuzzer"); done
cmake --build "$build" -j2 --target "${targets[@]}"

mkdir -p "$build/findings"
for h in "${harnesses[@]}"; do
  work="$build/corpus/$h"
  mkdir -p "$work"
  cp -n "$root/tests/fuzz/corpus/$h/"* "$work/" 2>/dev/null || true
  echo "== $h: $seconds s"
  # One job on one core (the machine is shared); its log is fuzz-0.log.
  (cd "$build/findings" && rm -f fuzz-0.log &&
    "$build/bin/${h}_fuzzer" "$work" -dict="$root/tests/fuzz/formats.dict" \
      -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=1024 -timeout=10 \
      -jobs=1 -workers=1 -artifact_prefix="$build/findings/${h}-" -print_final_stats=1 \
      > /dev/null 2>&1 || true
    grep -E '^#[0-9]+.*(DONE|pulse)|stat::|ERROR|SUMMARY' fuzz-0.log | tail -n 14
    cp fuzz-0.log "$h.log")
done
