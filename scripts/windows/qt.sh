#!/usr/bin/env bash
# Builds Qt for Windows (x86_64, MinGW posix) once from Debian's own source of
# the Qt the Linux build uses, into a cache folder outside the repository:
#   scripts/windows/qt.sh            prints the install prefix when done
# VARNHOLD_WIN_CACHE picks the cache folder (default /var/cache/varnhold-win).
# A finished build is reused; a half-finished one is resumed by Ninja.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/windows/common.sh"
prefix=$qt_prefix
work=$cache/work/qt-$qt_version
"$root/scripts/windows/toolchain.sh" >&2

# The very source of the Qt the Linux build links, with our one change
# (common.sh). The Windows download takes Qt's licence texts from it, so it
# is kept, and brought back if removed, even once Qt is built. The patch is
# applied once: a source it has already changed is left as it is.
unpack "$(fetch_source qt6-base qt6-base-dev)" "$qt_source"
if ! patch -d "$qt_source" -p1 -R -s -f --dry-run <"$qt_patch" >/dev/null 2>&1; then
  patch -d "$qt_source" -p1 -s -f <"$qt_patch" >&2
fi

if [ -f "$prefix/.complete" ]; then echo "$prefix"; exit 0; fi

cmake -S "$qt_source" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain_file" -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DQt6HostInfo_DIR=/usr/lib/x86_64-linux-gnu/cmake/Qt6HostInfo \
  "${qt_options[@]}" >&2
cmake --build "$work/build" -j "$(nproc)" >&2
cmake --install "$work/build" >&2
touch "$prefix/.complete"
echo "$prefix"
