#!/usr/bin/env bash
# Builds Qt for Windows (x86_64, MinGW posix) once from Debian's own source of
# the Qt the Linux build uses, into a cache folder outside the repository:
#   scripts/windows/qt.sh            prints the install prefix when done
# VARNHOLD_WIN_CACHE picks the cache folder (default /var/cache/varnhold-win).
# A finished build is reused; a half-finished one is resumed by Ninja.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cache=${VARNHOLD_WIN_CACHE:-/var/cache/varnhold-win}
version=6.4.2
prefix=$cache/qt-$version
work=$cache/work/qt-$version

if [ -f "$prefix/.complete" ]; then echo "$prefix"; exit 0; fi
"$root/scripts/windows/toolchain.sh" >&2
mkdir -p "$cache/work"

# Debian's source package, through a private apt folder so the system's
# source lists stay as they are.
apt_dir=$cache/apt
if ! ls "$cache"/work/qt6-base_${version}*.dsc >/dev/null 2>&1; then
  mkdir -p "$apt_dir/sources" "$apt_dir/lists/partial"
  uris=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
  uris=${uris:-http://deb.debian.org/debian}
  cat >"$apt_dir/sources/debian-src.sources" <<SRC
Types: deb-src
URIs: $uris
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  opts=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt_dir/sources"
        -o "Dir::State::Lists=$apt_dir/lists")
  apt-get "${opts[@]}" update -qq >&2
  # The very source of the Qt the Linux build links.
  source_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev 2>/dev/null || true)
  (cd "$cache/work" && apt-get "${opts[@]}" source --download-only "qt6-base${source_version:+=$source_version}" >&2)
fi

if [ ! -d "$work/src/.unpacked" ]; then
  rm -rf "$work/src"; mkdir -p "$work"
  tarball=$(ls "$cache"/work/qt6-base_${version}*.orig.tar.* | head -1)
  mkdir -p "$work/src"
  tar -xf "$tarball" -C "$work/src" --strip-components=1
  # Debian's source leaves out the tablet header; with OpenGL off, 6.4.2's
  # Windows plugin still reaches for dynamic GL unless the guard names it.
  sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' \
    "$work/src/src/plugins/platforms/windows/qwindowswindow.cpp"
  mkdir -p "$work/src/.unpacked"
fi

cmake -S "$work/src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/scripts/windows/mingw64.cmake" \
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
