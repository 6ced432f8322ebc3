#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: first the normal
# build, then the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then cross-built for Windows under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install.sh"
export QT_QPA_PLATFORM=offscreen

"$root/scripts/build.sh" build -DCMAKE_BUILD_TYPE=RelWithDebInfo
(cd "$root/build" && ctest --output-on-failure -j "$(nproc)")

"$root/scripts/build.sh" build-asan -DCMAKE_BUILD_TYPE=Debug -DVARNHOLD_SANITIZE=ON -DVARNHOLD_BENCH=OFF
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$root/build-asan" && ctest --output-on-failure -j "$(nproc)")

# The same suite built for Windows and run under Wine. The first run on a
# machine builds Qt for Windows into /var/cache/varnhold-win (about half an
# hour on two cores); later runs reuse it.
"$root/scripts/windows/test.sh"
