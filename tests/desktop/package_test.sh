#!/usr/bin/env bash
# Makes the Debian package of a build folder, unpacks it into a scratch
# root and checks it as a desktop would see it: the exact file list, the
# desktop entries, metainfo and icons against each other and the desktop's
# validators, the package's dependencies, and which type the MIME database
# gives the editors' files.
#
#   package_test.sh CPACK BUILD_FOLDER SCRATCH VERSION PROGRAM...
# (an empty PROGRAM is skipped)
set -euo pipefail
cpack=$1 build=$2 scratch=$3 version=$4
shift 4
programs=()
for p in "$@"; do [ -n "$p" ] && programs+=("$p"); done

declare -A ids=([brackel]=io.github.varnhold.Brackel [velloc]=io.github.varnhold.Velloc
                [kestrin]=io.github.varnhold.Kestrin)
declare -A mimetypes=([brackel]=application/x-brackel-rules [velloc]=application/x-velloc-texts [kestrin]=)
sizes=(16 22 24 32 48 64 128 256)

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The scratch folder is emptied first: only one made for this test, so that a
# wrong argument can never remove anything else.
case "$scratch" in
  */desktop/scratch) ;;
  *) echo "FAIL: the scratch folder must be the build's tests/desktop/scratch, not $scratch" >&2; exit 1 ;;
esac
rm -rf "$scratch"
mkdir -p "$scratch/out" "$scratch/root"
if ! "$cpack" -G DEB -B "$scratch/out" --config "$build/CPackConfig.cmake" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  echo "FAIL: cpack" >&2
  exit 1
fi
deb=$scratch/out/varnhold-editors_${version}_$(dpkg --print-architecture).deb
if [ ! -f "$deb" ]; then
  ls -l "$scratch/out" >&2
  echo "FAIL: no $deb" >&2
  exit 1
fi
root=$scratch/root
dpkg-deb -x "$deb" "$root"

# ---- the file list, exactly ----
expected=()
for p in "${programs[@]}"; do expected+=("usr/bin/$p"); done
for app in brackel velloc kestrin; do
  id=${ids[$app]}
  expected+=("usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml")
  for s in "${sizes[@]}"; do expected+=("usr/share/icons/hicolor/${s}x$s/apps/$id.png"); done
done
expected+=(usr/share/mime/packages/varnhold-editors.xml usr/share/varnhold/Presets.ini
           usr/share/doc/varnhold/README.md)
if ! diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$root" && find . ! -type d | sed 's|^\./||' | sort) \
     >"$scratch/files.diff"; then
  fail "file list differs (< expected, > packaged):"
  cat "$scratch/files.diff" >&2
fi
[ "$(cd "$root" && ls -A)" = usr ] || fail "the package has files outside /usr: $(cd "$root" && ls -A)"

for p in "${programs[@]}"; do
  f=$root/usr/bin/$p
  [ -x "$f" ] && file -b "$f" | grep -q '^ELF .*, stripped$' || fail "usr/bin/$p is not a stripped ELF program: $(file -b "$f")"
  ! readelf -d "$f" | grep -E 'R(UN)?PATH' || fail "usr/bin/$p has a library search path"
done
for app in brackel velloc kestrin; do
  for s in "${sizes[@]}"; do
    f=$root/usr/share/icons/hicolor/${s}x$s/apps/${ids[$app]}.png
    file -b "$f" | grep -q "^PNG image data, $s x $s, 8-bit/color RGBA" || fail "$f: $(file -b "$f")"
  done
done
cmp -s "$root/usr/share/varnhold/Presets.ini" "$build/kestrin/Presets.ini" ||
  fail "the packaged Presets.ini differs from the build's"

# ---- desktop entries and metainfo ----
field() { sed -n "s/^$2=//p" "$1"; }
for app in brackel velloc kestrin; do
  id=${ids[$app]}
  entry=$root/usr/share/applications/$id.desktop
  meta=$root/usr/share/metainfo/$id.metainfo.xml
  # Hints too: each one names a way a menu could show the entry wrongly.
  if ! out=$(desktop-file-validate "$entry" 2>&1) || [ -n "$out" ]; then fail "desktop-file-validate: $out"; fi
  [ "$(field "$entry" Exec)" = "$app %f" ] || fail "$id.desktop: Exec=$(field "$entry" Exec)"
  [ "$(field "$entry" Icon)" = "$id" ] || fail "$id.desktop: Icon=$(field "$entry" Icon)"
  want=${mimetypes[$app]}
  [ "$(field "$entry" MimeType)" = "${want:+$want;}" ] || fail "$id.desktop: MimeType=$(field "$entry" MimeType)"
  if [ -n "$want" ]; then
    grep -q "<mime-type type=\"$want\">" "$root/usr/share/mime/packages/varnhold-editors.xml" ||
      fail "$want is not defined"
    grep -q "<mediatype>$want</mediatype>" "$meta" || fail "$id.metainfo.xml does not provide $want"
  fi

  out=$(appstreamcli validate --no-net "$meta" 2>&1) || fail "appstreamcli validate $id.metainfo.xml: $out"
  grep -q "<id>$id</id>" "$meta" || fail "$id.metainfo.xml: wrong id"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$meta" || fail "$id.metainfo.xml: wrong launchable"
  grep -q "<binary>$app</binary>" "$meta" || fail "$id.metainfo.xml: wrong binary"
  grep -q "<release version=\"$version\"" "$meta" || fail "$id.metainfo.xml has no release $version"
done
out=$(appstreamcli validate-tree --no-net "$root" 2>&1) || fail "appstreamcli validate-tree: $out"
grep -q "names.def" <(field "$root/usr/share/applications/${ids[brackel]}.desktop" Comment) ||
  fail "Brackel's Comment does not say it needs names.def"

# ---- the package's control fields ----
info=$(dpkg-deb -I "$deb")
for line in "Package: varnhold-editors" "Version: $version" "Section: games" \
            "Maintainer: Varnhold editors team <team@varnhold.invalid>"; do
  grep -qxF " $line" <<<"$info" || fail "control lacks '$line'"
done
grep -q '^ Depends: .*libqt6widgets6' <<<"$info" || fail "Depends does not name Qt: $(grep Depends <<<"$info" || true)"

# ---- MIME types, as a desktop would resolve them ----
# Our types beside the system's own, so that the claim on *.vlc, which a
# media player's playlists share, is decided as it would be when installed.
mime=$scratch/share/mime
mkdir -p "$mime/packages" "$scratch/home"
cp "$root/usr/share/mime/packages/varnhold-editors.xml" /usr/share/mime/packages/freedesktop.org.xml "$mime/packages/"
update-mime-database "$mime" >/dev/null 2>&1 || fail "update-mime-database"
grep -qxF '50:application/x-brackel-rules:*.brk' "$mime/globs2" || fail "*.brk is not in globs2"
grep -qxF '50:application/x-velloc-texts:*.vlc' "$mime/globs2" || fail "*.vlc is not in globs2"

# The samples are written by our own writers from the demo game folder: by
# the packaged console program when there is one (which also shows that the
# stripped program runs), else the heads those writers put first.
samples=$scratch/samples
mkdir -p "$samples"
demo=$build/demo-game
if [ -x "$root/usr/bin/varnhold" ]; then
  "$root/usr/bin/varnhold" brk-export "$demo/vrn.exe" "$samples/rules.brk" || fail "varnhold brk-export"
  "$root/usr/bin/varnhold" items-export --braydesc "$demo/Braydesc.edt" "$samples/texts.vlc" ||
    fail "varnhold items-export"
else
  printf '[head]\r\nmode=brackel\r\nversion=2.0\r\n' >"$samples/rules.brk"
  printf '[head]\r\nmode=velloc-b\r\nversion=2.0\r\n' >"$samples/texts.vlc"
fi
cp "$samples/rules.brk" "$samples/rules-without-extension"
cp "$demo/names.def" "$samples/names.def"
printf '#EXTM3U\n#EXTINF:-1,Radio\nhttp://127.0.0.1/stream\n' >"$samples/playlist.vlc"
typeof() {
  XDG_DATA_HOME=$scratch/home XDG_DATA_DIRS=$scratch/share gio info -a standard::content-type "$1" |
    sed -n 's/^ *standard::content-type: //p'
}
for pair in rules.brk=application/x-brackel-rules rules-without-extension=application/x-brackel-rules \
            names.def=application/x-velloc-texts texts.vlc=application/x-velloc-texts \
            playlist.vlc=audio/x-mpegurl; do
  got=$(typeof "$samples/${pair%%=*}")
  [ "$got" = "${pair#*=}" ] || fail "${pair%%=*} is $got, not ${pair#*=}"
done

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "package $(basename "$deb") passes: ${#expected[@]} files"
