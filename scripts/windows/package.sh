#!/usr/bin/env bash
# Makes the Windows download: builds for Windows (scripts/windows/build.sh)
# and packs it with CPack, as desktop/windows/CMakeLists.txt lays it out, into
#   FOLDER/varnhold-editors-<version>-win64.zip         (FOLDER: default build-win)
#   FOLDER/varnhold-editors-<version>-win64-setup.exe   the installer (NSIS)
# then checks the zip's notices (desktop/windows/zip_test.sh). Prints their
# paths. The test windows_installer checks the installer under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
folder=${1:-build-win}
"$root/scripts/windows/build.sh" "$folder" >&2
build=$root/$folder
log=$(cpack -G ZIP --config "$build/CPackConfig.cmake" -B "$build") || { echo "$log" >&2; exit 1; }
zip=$(sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' <<<"$log")
[ -f "$zip" ] || { echo "$log" >&2; echo "cpack made no zip" >&2; exit 1; }
name=$(basename "$zip" .zip)
objdump=$(sed -n 's/^CMAKE_OBJDUMP:FILEPATH=//p' "$build/CMakeCache.txt")
bash "$root/desktop/windows/zip_test.sh" "$build/_zip_check" "$name" "$objdump" --zip "$zip" >&2
rm -rf "$build/_zip_check"
log=$(cpack -G NSIS --config "$build/CPackConfig.cmake" -B "$build") || { echo "$log" >&2; exit 1; }
setup=$(sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' <<<"$log")
[ -f "$setup" ] || { echo "$log" >&2; echo "cpack made no installer" >&2; exit 1; }
echo "$zip"
echo "$setup"
