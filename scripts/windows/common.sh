# Shared by the Windows build scripts (sourced, not run).
# cache: where third-party code built for Windows lives, outside the repo.
cache=${VARNHOLD_WIN_CACHE:-/var/cache/varnhold-win}
toolchain_file=$root/scripts/windows/mingw64.cmake

# fetch_source PACKAGE: downloads Debian's source of the version of PACKAGE
# that the Linux build uses (the installed binary package's source) into
# $cache/work, through a private apt folder so the system's lists stay as
# they are. Prints the path of the orig tarball.
fetch_source() {
  local package=$1 binary=$2 version
  version=$(dpkg-query -W -f='${source:Version}' "$binary" 2>/dev/null || true)
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
