#!/usr/bin/env bash
# Cross-builds everything for Windows and runs every test under Wine on a
# virtual display (Qt's offscreen platform): scripts/windows/test.sh
# Prints a summary line "Windows tests: N passed, M failed".
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
"$root/scripts/windows/build.sh" build-win
cd "$root/build-win"
# The Wine prefix is made on the first start; do it before the clock of any test runs.
timeout 600 xvfb-run -a "$root/scripts/windows/wine-run.sh" wineboot -u >/dev/null 2>&1 || true
status=0
timeout 1800 xvfb-run -a ctest --output-on-failure -j "$(nproc)" --timeout 300 >ctest-windows.log 2>&1 || status=$?
cat ctest-windows.log
total=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\)/\1 \2/p' ctest-windows.log | tail -1)
failed=${total% *}; all=${total#* }
[ -n "$total" ] && echo "Windows tests: $((all - failed)) passed, $failed failed" || echo "Windows tests: did not finish"
exit "$status"
