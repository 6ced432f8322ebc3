#!/usr/bin/env bash
# Builds Qt for Windows (x86_64, MinGW posix) once from Debian's own source of
# the Qt the Linux build uses, into a cache folder outside the repository:
#   scripts/windows/qt.sh            prints the install prefix when done
# VARNHOLD_WIN_CACHE picks the cache folder (default /var/cache/varnhold-win).
# A finished build is reused; a half-finished one is resumed by Ninja.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/windows/common.sh"
version=6.4.2
prefix=$cache/qt-$version
work=$cache/work/qt-$version

if [ -f "$prefix/.complete" ]; then echo "$prefix"; exit 0; fi
"$root/scripts/windows/toolchain.sh" >&2

# The very source of the Qt the Linux build links. With OpenGL off, 6.4.2's
# Windows plugin still reaches for dynamic GL unless the guard names it (the
# edit leaves an edited file as it is).
unpack "$(fetch_source qt6-base qt6-base-dev)" "$work/src"
sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' \
  "$work/src/src/plugins/platforms/windows/qwindowswindow.cpp"

cmake -S "$work/src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain_file" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DQt6HostInfo_DIR=/usr/lib/x86_64-linux-gnu/cmake/Qt6HostInfo \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DBUILD_SHARED_LIBS=ON \
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF \
  -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF -DFEATURE_concurrent=OFF \
  -DFEATURE_tabletevent=OFF -DINPUT_opengl=no \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_freetype=OFF \
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF >&2
cmake --build "$work/build" -j "$(nproc)" >&2
cmake --install "$work/build" >&2
touch "$prefix/.complete"
echo "$prefix"
