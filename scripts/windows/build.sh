#!/usr/bin/env bash
# Cross-builds the three editors and every test for 64-bit Windows:
#   scripts/windows/build.sh [FOLDER]        (default build-win)
# Installs the cross compiler and Wine, builds Qt, libjpeg-turbo and
# GoogleTest for Windows into the cache folder the first time, and takes the
# build-time tools from the native build folder `build`.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/windows/common.sh"
folder=${1:-build-win}

"$root/scripts/install.sh"
"$root/scripts/windows/toolchain.sh"
qt=$("$root/scripts/windows/qt.sh")
deps=$("$root/scripts/windows/deps.sh")
[ -x "$root/build/tools/picturegen" ] && [ -x "$root/build/demo/demogen" ] ||
  "$root/scripts/build.sh" build -DCMAKE_BUILD_TYPE=RelWithDebInfo

"$qt/bin/qt-cmake" -S "$root" -B "$root/$folder" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain_file" -DVARNHOLD_WIN_DEPS="$deps" \
  -DCMAKE_PREFIX_PATH="$deps" -DVARNHOLD_BENCH=OFF -DVARNHOLD_HOST_BUILD="$root/build" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/windows/wine-run.sh" >/dev/null
cmake --build "$root/$folder" -j "$(nproc)"
