#!/usr/bin/env bash
# Builds the libraries our programs and tests link, for Windows (x86_64,
# MinGW posix), once, from Debian's own sources into the cache folder:
# libjpeg-turbo and GoogleTest. Prints the install prefix.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/windows/common.sh"
"$root/scripts/windows/toolchain.sh" >&2

jpeg_version=$(dpkg-query -W -f='${source:Version}' libjpeg62-turbo-dev); jpeg_version=${jpeg_version#*:}
gtest_version=$(dpkg-query -W -f='${Version}' googletest)
prefix=$cache/deps-jpeg${jpeg_version%-*}-gtest${gtest_version%-*}
if [ -f "$prefix/.complete" ]; then echo "$prefix"; exit 0; fi
work=$cache/work
jobs=$(nproc)

# libjpeg-turbo: static, without the SIMD code (it needs nasm).
src=$work/libjpeg-turbo-src
unpack "$(fetch_source libjpeg-turbo libjpeg62-turbo-dev)" "$src"
cmake -S "$src" -B "$work/libjpeg-turbo-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain_file" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
  -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF >&2
cmake --build "$work/libjpeg-turbo-build" -j "$jobs" >&2
cmake --install "$work/libjpeg-turbo-build" >&2

# GoogleTest from Debian's own source folder.
cmake -S /usr/src/googletest -B "$work/googletest-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain_file" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -Dgtest_disable_pthreads=OFF >&2
cmake --build "$work/googletest-build" -j "$jobs" >&2
cmake --install "$work/googletest-build" >&2

touch "$prefix/.complete"
echo "$prefix"
