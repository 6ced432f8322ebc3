#!/usr/bin/env bash
# Installs the MinGW-w64 cross compiler (posix threads), Wine, NSIS (whose
# makensis builds the installer) and the tools that fetch and patch Debian's
# sources, only what is missing. Run as root.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
"$root/scripts/install.sh" g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 \
  dpkg-dev patch nsis
