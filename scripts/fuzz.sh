#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one, two at a time:
#   scripts/fuzz.sh [RUNS]
# RUNS: executions per target (default 2000000). Each target also stops
# after FUZZ_TIME seconds (default 600). FUZZ_TARGETS picks targets by
# short name ("brk itemcodec"); default all. Crash inputs are written to
# build-fuzz/fuzz-crashes/, the growing corpora to build-fuzz/fuzz-corpus/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-2000000}
seconds=${FUZZ_TIME:-600}
targets=${FUZZ_TARGETS:-"itemcodec brk exetable profile codepage names textform presets journal po"}
build=$root/build-fuzz

# clang and its sanitizer and libFuzzer runtimes, only when missing.
"$root/scripts/install.sh" clang libclang-rt-14-dev

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVARNHOLD_FUZZ=ON -DVARNHOLD_BENCH=OFF -DVARNHOLD_SANITIZE=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target fuzz_targets fuzz_seeds

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$build/fuzz-crashes" "$build/fuzz-logs"

run_target() {
  local name=$1 max_len=4096
  [ "$name" = itemcodec ] && max_len=1602 # two bytes that choose, then two records
  [ "$name" = exetable ] && max_len=728
  [ "$name" = journal ] && max_len=1024 # past the 645 bytes of the longest journal of its file
  mkdir -p "$build/fuzz-corpus/$name"
  local started=$SECONDS rc=0
  "$build/fuzz/fuzz_$name" -runs="$runs" -max_total_time="$seconds" -max_len="$max_len" -timeout=25 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/fuzz-crashes/$name-" \
    "$build/fuzz-corpus/$name" "$build/fuzz-seeds/$name" >"$build/fuzz-logs/$name.log" 2>&1 || rc=$?
  local done_line
  done_line=$(grep -E '^Done [0-9]+ runs' "$build/fuzz-logs/$name.log" | tail -1 || true)
  [ -n "$done_line" ] || done_line="stopped after $(grep -Eo 'stat::number_of_executed_units: *[0-9]+' \
    "$build/fuzz-logs/$name.log" | grep -Eo '[0-9]+$' || echo '?') runs"
  if [ "$rc" -eq 0 ]; then
    echo "fuzz_$name: $done_line ($((SECONDS - started)) s) - no fault"
  else
    echo "fuzz_$name: FAULT (exit $rc) after $((SECONDS - started)) s: $done_line"
    grep -E 'ERROR:|SUMMARY:|Test unit written' "$build/fuzz-logs/$name.log" | sed 's/^/    /' || true
  fi
  return "$rc"
}

# Two at a time: the machine is shared.
failed=0
for name in $targets; do
  while [ "$(jobs -rp | wc -l)" -ge 2 ]; do wait -n || failed=1; done
  run_target "$name" &
done
while [ "$(jobs -rp | wc -l)" -gt 0 ]; do wait -n || failed=1; done
wait || failed=1
exit "$failed"
