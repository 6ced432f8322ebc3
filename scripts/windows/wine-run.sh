#!/usr/bin/env bash
# Runs a Windows program of ours under Wine, headless, with the Qt and
# compiler DLLs it needs on its path: scripts/windows/wine-run.sh PROGRAM.exe [ARGS...]
# The Wine prefix lives in the cache folder; its first start takes a while.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/windows/common.sh"
export WINEPREFIX=${WINEPREFIX:-$cache/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
winpath() { echo "Z:${1//\//\\}"; }
export WINEPATH="$(winpath "$qt_prefix/bin");$(winpath "$gcc_runtime_dir");$(winpath "$mingw_runtime_dir")"
export QT_PLUGIN_PATH=$(winpath "$qt_prefix/plugins")
mkdir -p "$WINEPREFIX"
exec wine "$@"
