#!/usr/bin/env bash
# Runs a Windows program of ours under Wine, headless, with the Qt and
# compiler DLLs it needs on its path: scripts/windows/wine-run.sh PROGRAM.exe [ARGS...]
# The Wine prefix lives in the cache folder; its first start takes a while.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/windows/common.sh"
qt=$cache/qt-6.4.2
export WINEPREFIX=${WINEPREFIX:-$cache/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
winpath() { echo "Z:${1//\//\\}"; }
export WINEPATH="$(winpath "$qt/bin");$(winpath /usr/lib/gcc/x86_64-w64-mingw32/12-posix);$(winpath /usr/x86_64-w64-mingw32/lib)"
export QT_PLUGIN_PATH=$(winpath "$qt/plugins")
mkdir -p "$WINEPREFIX"
exec wine "$@"
