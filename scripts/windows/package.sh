#!/usr/bin/env bash
# Makes the Windows download: builds for Windows (scripts/windows/build.sh)
# and packs the three editors with the Qt and compiler DLLs they need into
#   build-win/varnhold-editors-<version>-win64.zip
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/windows/common.sh"
"$root/scripts/windows/build.sh" build-win
build=$root/build-win
qt=$cache/qt-6.4.2
version=$(sed -n 's/^project(Varnhold VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
name=varnhold-editors-$version-win64
stage=$build/$name
rm -rf "$stage" "$build/$name.zip"
mkdir -p "$stage/platforms" "$stage/styles"

cp "$build/brackel.exe" "$build/velloc.exe" "$build/kestrin.exe" "$build/varnhold.exe" "$stage/"
cp "$qt"/bin/Qt6Core.dll "$qt"/bin/Qt6Gui.dll "$qt"/bin/Qt6Widgets.dll "$stage/"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt"/plugins/styles/*.dll "$stage/styles/"
cp /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libstdc++-6.dll \
   /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libgcc_s_seh-1.dll \
   /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$stage/"
cp "$root/demo/Presets.ini" "$stage/"
x86_64-w64-mingw32-strip "$stage"/*.exe
sed 's/$/\r/' "$root/scripts/windows/README.txt" >"$stage/README.txt"
# Qt draws text with its bundled FreeType rather than the system's engine:
# the same glyphs as on Linux, and line edits that also draw under Wine.
printf '[Platforms]\r\nWindowsArguments = fontengine=freetype\r\n' >"$stage/qt.conf"

(cd "$build" && zip -q -r -9 "$name.zip" "$name")
echo "$build/$name.zip"
