#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: first the normal
# build, then the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then cross-built for Windows under Wine.
# Ends with the time each stage took, whether it passed or not.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

timings=()
# stage NAME COMMAND...: runs the command and keeps how long it took.
stage() {
  local name=$1 start=$SECONDS
  shift
  "$@"
  timings+=("$name: $((SECONDS - start)) s")
}
trap 'echo "Stage times (of $SECONDS s in all):"; for t in "${timings[@]}"; do echo "  $t"; done' EXIT

native_tests() { (cd "$root/build" && ctest --output-on-failure -j "$(nproc)"); }
asan_tests() {
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  (cd "$root/build-asan" && ctest --output-on-failure -j "$(nproc)")
}

stage "install" "$root/scripts/install.sh"
export QT_QPA_PLATFORM=offscreen

stage "native build" "$root/scripts/build.sh" build -DCMAKE_BUILD_TYPE=RelWithDebInfo
stage "native tests" native_tests

stage "sanitizer build" "$root/scripts/build.sh" build-asan -DCMAKE_BUILD_TYPE=Debug -DVARNHOLD_SANITIZE=ON \
  -DVARNHOLD_BENCH=OFF
stage "sanitizer tests" asan_tests

# The same suite built for Windows and run under Wine. The first run on a
# machine builds Qt for Windows into /var/cache/varnhold-win (about half an
# hour on two cores); later runs reuse it.
stage "Windows (Qt cache, cross build, tests under Wine)" "$root/scripts/windows/test.sh"
