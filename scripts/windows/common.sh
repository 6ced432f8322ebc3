# Shared by the Windows build scripts (sourced, not run).
# cache: where third-party code built for Windows lives, outside the repo.
cache=${VARNHOLD_WIN_CACHE:-/var/cache/varnhold-win}
toolchain_file=$root/scripts/windows/mingw64.cmake

# Qt for Windows (qt.sh): the version of the Qt the Linux build uses, built
# from Debian's source of it with our one change to that source, the patch
# beside this file, which the Windows download also ships.
qt_version=6.4.2
qt_prefix=$cache/qt-$qt_version
qt_source=$cache/work/qt-$qt_version/src
qt_patch=$root/scripts/windows/qt-mingw.patch
# How qt.sh configures Qt, besides the toolchain, install prefix and host Qt;
# the download's notices print them as the way to rebuild its Qt DLLs.
qt_options=(
  -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DBUILD_SHARED_LIBS=ON
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF
  -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF -DFEATURE_concurrent=OFF
  -DFEATURE_tabletevent=OFF -DINPUT_opengl=no
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_freetype=OFF
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
)

# The cross compiler's runtime DLLs: libstdc++-6.dll and libgcc_s_seh-1.dll,
# and libwinpthread-1.dll.
gcc_runtime_dir=/usr/lib/gcc/x86_64-w64-mingw32/12-posix
mingw_runtime_dir=/usr/x86_64-w64-mingw32/lib
# Windows' own DLLs, as Wine provides them: what a program may import
# without shipping it.
windows_dll_dir=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows

# source_version BINARY: the version of the Debian source package the
# installed binary package BINARY was built from.
source_version() {
  dpkg-query -W -f='${source:Version}' "$1" 2>/dev/null || true
}

# fetch_source PACKAGE BINARY: downloads Debian's source package PACKAGE at
# the version the installed binary package BINARY was built from (so the
# Windows build gets the very source of what the Linux build uses) into
# $cache/work, through a private apt folder so the system's lists stay as
# they are. Prints the path of the orig tarball.
fetch_source() {
  local package=$1 binary=$2 version
  version=$(source_version "$binary")
  local upstream=${version#*:}
  upstream=${upstream%-*}
  mkdir -p "$cache/work"
  if ! ls "$cache/work/${package}_${upstream}".orig.tar.* >/dev/null 2>&1; then
    local apt_dir=$cache/apt
    mkdir -p "$apt_dir/sources" "$apt_dir/lists/partial"
    local uris
    uris=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
    cat >"$apt_dir/sources/debian-src.sources" <<SRC
Types: deb-src
URIs: ${uris:-http://deb.debian.org/debian}
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    local opts=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt_dir/sources"
                -o "Dir::State::Lists=$apt_dir/lists")
    [ -f "$apt_dir/lists/.updated" ] || { apt-get "${opts[@]}" update -qq >&2 && touch "$apt_dir/lists/.updated"; }
    (cd "$cache/work" && apt-get "${opts[@]}" source --download-only "$package${version:+=$version}" >&2)
  fi
  ls "$cache/work/${package}_${upstream}".orig.tar.* | head -1
}

# unpack TARBALL DIR: unpacks once into DIR (top folder stripped).
unpack() {
  local tarball=$1 dir=$2
  [ -f "$dir/.unpacked" ] && return 0
  rm -rf "$dir"; mkdir -p "$dir"
  tar -xf "$tarball" -C "$dir" --strip-components=1
  touch "$dir/.unpacked"
}
