#!/usr/bin/env bash
# Cross-builds the three editors and every test for 64-bit Windows:
#   scripts/windows/build.sh [FOLDER]        (default build-win)
# Installs the cross compiler and Wine, builds Qt, libjpeg-turbo and
# GoogleTest for Windows into the cache folder the first time, and takes the
# build-time tools from the native build folder `build`. The folder can then
# make the Windows download (scripts/windows/package.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/windows/common.sh"
folder=${1:-build-win}

"$root/scripts/install.sh"
"$root/scripts/windows/toolchain.sh"
qt=$("$root/scripts/windows/qt.sh")
deps=$("$root/scripts/windows/deps.sh")
[ -x "$root/build/tools/picturegen" ] && [ -x "$root/build/tools/iconpaint" ] && [ -x "$root/build/demo/demogen" ] ||
  "$root/scripts/build.sh" build -DCMAKE_BUILD_TYPE=RelWithDebInfo

# The download ships the licence texts of the MinGW-w64 runtime, which every
# program and DLL built with it contains, and of winpthreads: taken once from
# Debian's source of the cross compiler's Windows libraries.
mingw_notices=$cache/work/mingw-w64-notices-$(source_version mingw-w64-x86-64-dev)
if [ ! -f "$mingw_notices/.complete" ]; then
  rm -rf "$mingw_notices"; mkdir -p "$mingw_notices"
  tar -xf "$(fetch_source mingw-w64 mingw-w64-x86-64-dev)" -C "$mingw_notices" --strip-components=1 \
    --wildcards '*/COPYING.MinGW-w64-runtime/COPYING.MinGW-w64-runtime.txt' '*/mingw-w64-libraries/winpthreads/COPYING'
  touch "$mingw_notices/.complete"
fi
# Debian's notice file of the package that holds the compiler's runtime DLLs.
gcc_runtime_package=$(dpkg -S "$gcc_runtime_dir/libstdc++-6.dll" | cut -d: -f1)

"$qt/bin/qt-cmake" -S "$root" -B "$root/$folder" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain_file" -DVARNHOLD_WIN_DEPS="$deps" \
  -DCMAKE_PREFIX_PATH="$deps" -DVARNHOLD_BENCH=OFF -DVARNHOLD_HOST_BUILD="$root/build" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/windows/wine-run.sh" \
  -DVARNHOLD_WIN_RUNTIME_DIRS="$gcc_runtime_dir;$mingw_runtime_dir" \
  -DVARNHOLD_WIN_SYSTEM_DLL_DIR="$windows_dll_dir" \
  -DVARNHOLD_QT_SOURCE_DIR="$qt_source" -DVARNHOLD_QT_PATCH="$qt_patch" \
  -DVARNHOLD_QT_DEBIAN_SOURCE="qt6-base $(source_version qt6-base-dev)" \
  -DVARNHOLD_QT_SOURCE_ARCHIVE="$(basename "$(fetch_source qt6-base qt6-base-dev)")" \
  -DVARNHOLD_QT_OPTIONS="${qt_options[*]}" \
  -DVARNHOLD_GCC_RUNTIME_COPYRIGHT="/usr/share/doc/$gcc_runtime_package/copyright" \
  -DVARNHOLD_MINGW_NOTICES="$mingw_notices" >/dev/null
cmake --build "$root/$folder" -j "$(nproc)"
