#!/usr/bin/env bash
# Checks the Windows installer under Wine, in a fresh Wine prefix of its own,
# as a player would use it:
#  - an installer of a lower version installs silently (no /D: the user's
#    own programs folder) with a game folder and the PATH option given on
#    the command line, and takes .vlc, which no program holds;
#  - the installer of this version upgrades it silently without options and
#    keeps those choices, while another program has taken .vlc meanwhile;
#  - the files are those of the install rules, byte for byte, the Start
#    menu entries start the editors in the game folder, and the registry
#    holds the associations, the uninstall entry and the PATH entry;
#  - the command registered for .brk, run by Windows' own file opening on a
#    file whose name has a blank and an accented letter, opens it in
#    Brackel (its "Success" box, found by title on the display);
#  - a silent uninstall leaves no file, shortcut or key of ours, the other
#    program's .vlc, and the game folder and the player's presets byte for
#    byte as they were;
#  - a PATH too long for the installer's strings is left as it is.
# Needs a display (xvfb-run) and Wine.
#
#   installer_test.sh SCRATCH CPACK CPACK_CONFIG DEMO_GAME_FOLDER
# Set VARNHOLD_SHOTS=FOLDER to keep screenshots of Brackel opened by the
# association there.
set -euo pipefail
scratch=$1 cpack=$2 config=$3 demo=$4

# Only a scratch folder of its own is emptied, so that a wrong argument can
# never remove anything else.
case "$scratch" in
  */installer_scratch) ;;
  *) echo "FAIL: $scratch is not a scratch folder of this check" >&2; exit 1 ;;
esac
if [ -d "$scratch/prefix" ]; then
  WINEPREFIX=$scratch/prefix wineserver -k 2>/dev/null || true
fi
rm -rf "$scratch"
mkdir -p "$scratch"

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
step() { echo "== $*"; }

# ---- the installers: this version's, and one of a lower version ----
step "making the installers"
previous=0.0.1
"$cpack" -G NSIS -B "$scratch/out" --config "$config" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; echo "FAIL: cpack" >&2; exit 1; }
"$cpack" -G NSIS -B "$scratch/previous" --config "$config" -D CPACK_PACKAGE_VERSION=$previous \
  -D CPACK_NSIS_COMPRESSOR=zlib >"$scratch/cpack-previous.log" 2>&1 ||
  { cat "$scratch/cpack-previous.log" >&2; echo "FAIL: cpack of the previous version" >&2; exit 1; }
setup=$(ls "$scratch"/out/varnhold-editors-*-win64-setup.exe)
old_setup=$scratch/previous/varnhold-editors-$previous-win64-setup.exe
[ -f "$old_setup" ] || { echo "FAIL: no $old_setup" >&2; exit 1; }
version=$(basename "$setup")
version=${version#varnhold-editors-}
version=${version%-win64-setup.exe}
staged=$(ls -d "$scratch"/out/_CPack_Packages/*/NSIS/varnhold-editors-$version-win64-setup)

# ---- a fresh Wine prefix, a game folder, the player's presets ----
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= LC_ALL=C.UTF-8
unset WINEPATH QT_PLUGIN_PATH QT_QPA_PLATFORM
step "making a Wine prefix"
wine wineboot -u >"$scratch/wineboot.log" 2>&1
wineserver -w
user_dir=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Local | grep -v '/Public/' | head -1)
user_dir=${user_dir%/AppData/Local}
user=${user_dir##*/}
localappdata=$user_dir/AppData/Local
win_localappdata="C:\\users\\$user\\AppData\\Local"

game=$WINEPREFIX/drive_c/Games/Varnhold
win_game='C:\Games\Varnhold'
mkdir -p "$game"
cp "$demo"/vrn.exe "$demo"/names.def "$demo"/Itemdesc.edt "$demo"/Braydesc.edt "$demo"/IMP.dat "$game"/
# What the editors leave in a game folder: a backup and a journal.
cp "$demo/vrn.exe" "$game/vrn.exe.bak"
printf 'a journal of ours\r\n' >"$game/Itemdesc.edt.journal"
mkdir -p "$localappdata/varnhold"
printf '[Mine]\r\nStrength=90\r\n' >"$localappdata/varnhold/Presets.ini"

reg() { wine reg "$@" 2>/dev/null | tr -d '\r'; }
# value KEY NAME: the data of a value ("" for the default), or nothing.
value() {
  local out
  if [ -z "$2" ]; then out=$(reg query "$1" /ve) || return 0
  else out=$(reg query "$1" /v "$2") || return 0; fi
  sed -n 's/^    [^ ].*    REG_[A-Z_]*    //p;s/^    [^ ].*    REG_[A-Z_]*$//p' <<<"$out" | head -1 |
    sed 's/^(value not set)$//'
}
has_key() { reg query "$1" >/dev/null; }
classes='HKCU\Software\Classes'
uninst='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\varnhold-editors'
settings='HKCU\Software\varnhold-editors'

# ---- the previous version, silently, into the default folder ----
step "installing $previous silently"
wine "$old_setup" /S "/GAMEDIR=$win_game" /ADDTOPATH=1
wineserver -w
inst=$localappdata/Programs/Varnhold\ editors
win_inst="$win_localappdata\\Programs\\Varnhold editors"
[ -f "$inst/brackel.exe" ] || fail "the previous version is not in $win_inst"
[ "$(value "$uninst" DisplayVersion)" = "$previous" ] || fail "the previous version is not listed in Apps"
[ "$(value "$classes\\.vlc" "")" = Varnhold.Velloc.vlc ] ||
  fail ".vlc, which no program held, is not Velloc's: $(value "$classes\\.vlc" "")"

# Another program takes .vlc after that.
reg add "$classes\\.vlc" /ve /d Other.vlc /f >/dev/null
reg add "$classes\\Other.vlc\\shell\\open\\command" /ve /d 'other.exe "%1"' /f >/dev/null

# A file of the player's own for the .brk command: made by the console
# program the previous version installed.
brk_name='my rules é.brk'
wine "$inst/varnhold.exe" brk-export "$win_game\\vrn.exe" "$win_game\\$brk_name" >"$scratch/brk-export.log" 2>&1 ||
  { cat "$scratch/brk-export.log" >&2; fail "varnhold brk-export"; }
[ -s "$game/$brk_name" ] || fail "no $brk_name in the game folder"
(cd "$game" && find . -type f -print0 | sort -z | xargs -0 sha256sum) >"$scratch/game-before"
sha256sum "$localappdata/varnhold/Presets.ini" >"$scratch/presets-before"

# ---- the upgrade: this version, silently, no options ----
step "upgrading to $version silently"
wine "$setup" /S
wineserver -w

# ---- files ----
[ "$(cd "$inst" && find . -type f ! -name Uninstall.exe | sort)" = "$(cd "$staged" && find . -type f | sort)" ] ||
  fail "the installed files differ from the install rules': $(diff <(cd "$inst" && find . -type f | sort) <(cd "$staged" && find . -type f | sort) | tr '\n' ' ')"
while read -r f; do
  cmp -s "$inst/$f" "$staged/$f" || fail "$f differs from the staged file"
done < <(cd "$staged" && find . -type f)
[ -f "$inst/Uninstall.exe" ] || fail "no Uninstall.exe"

# ---- Start menu: the editors start in the game folder ----
menu=$user_dir/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/Varnhold\ editors
utf16() { printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE | od -An -tx1 | tr -d ' \n'; }
for link in Brackel Velloc Kestrin README; do
  [ -f "$menu/$link.lnk" ] || { fail "no Start menu entry $link"; continue; }
  [ "$link" = README ] && continue
  exe=$(tr '[:upper:]' '[:lower:]' <<<"$link").exe
  hex=$(od -An -tx1 "$menu/$link.lnk" | tr -d ' \n')
  [[ $hex == *"$(utf16 "$win_inst\\$exe")"* ]] || fail "$link.lnk does not start $win_inst\\$exe"
  [[ $hex == *"$(utf16 "$win_game")"* ]] || fail "$link.lnk does not start in $win_game"
done

# ---- registry ----
step "the registry"
expect() { # KEY NAME WANTED
  local got
  got=$(value "$1" "$2")
  [ "$got" = "$3" ] || fail "$1 ${2:-(default)} is \"$got\", not \"$3\""
}
expect "$settings" GameFolder "$win_game"
expect "$settings" AddToPath 1
expect "$uninst" DisplayName "Varnhold editors"
expect "$uninst" DisplayVersion "$version"
expect "$uninst" Publisher "Varnhold editors team"
expect "$uninst" DisplayIcon "$win_inst\\brackel.exe"
expect "$uninst" UninstallString "\"$win_inst\\Uninstall.exe\""
size=$(value "$uninst" EstimatedSize)
[ $((size)) -gt 10000 ] || fail "EstimatedSize is $size KiB"
expect "$classes\\.brk" "" Varnhold.Brackel.brk
expect "$classes\\Varnhold.Brackel.brk\\shell\\open\\command" "" "\"$win_inst\\brackel.exe\" \"%1\""
expect "$classes\\Varnhold.Brackel.brk\\DefaultIcon" "" "$win_inst\\brackel.exe,0"
expect "$classes\\.vlc" "" Other.vlc
expect "$classes\\Varnhold.Velloc.vlc\\shell\\open\\command" "" "\"$win_inst\\velloc.exe\" \"%1\""
expect "$classes\\Varnhold.Velloc.edt\\shell\\open\\command" "" "\"$win_inst\\velloc.exe\" \"%1\""
expect "$classes\\Varnhold.Velloc.edt\\DefaultIcon" "" "$win_inst\\velloc.exe,0"
expect "$classes\\.edt" "" ""
for pair in .brk=Varnhold.Brackel.brk .vlc=Varnhold.Velloc.vlc .edt=Varnhold.Velloc.edt; do
  reg query "$classes\\${pair%%=*}\\OpenWithProgids" /v "${pair#*=}" >/dev/null ||
    fail "${pair#*=} is not in the \"Open with\" list of ${pair%%=*}"
done
path=$(value 'HKCU\Environment' Path)
[ "$path" = "$win_inst" ] || fail "the user's PATH is \"$path\", not the editors' folder"
reg query "$uninst" >"$scratch/uninstall-entry.txt" || true
reg query "$classes\\.brk" /s >"$scratch/brk-keys.txt" || true

# ---- the .brk command opens the file in Brackel ----
step "opening $brk_name as Windows does"
# Windows reads file associations from the user's classes over the
# machine's; Wine 8 reads only the machine's (HKCR is HKLM\Software\Classes
# there). So for this one launch the entries the installer wrote are copied
# as they are to the machine's classes, and removed again before the
# uninstall.
for key in .brk Varnhold.Brackel.brk; do
  reg copy "$classes\\$key" "HKLM\\Software\\Classes\\$key" /s /f >/dev/null ||
    fail "could not copy $key to the machine's classes"
done
# ShellExecute, as a double click does: the command with "%1" filled in.
wine start /d "$win_game" "$win_game\\$brk_name" >/dev/null 2>&1 &
opened=""
for _ in $(seq 1 120); do
  if xdotool search --name '^Success$' >/dev/null 2>&1; then opened=yes; break; fi
  if xdotool search --name '^Error$' >/dev/null 2>&1; then break; fi
  sleep 0.5
done
if [ -n "${VARNHOLD_SHOTS:-}" ]; then
  mkdir -p "$VARNHOLD_SHOTS"
  sleep 1
  import -window root "$VARNHOLD_SHOTS/brackel-opened-by-association.png" || true
fi
[ -n "$opened" ] || fail "Brackel did not open $brk_name (no \"Success\" box; windows: $(xdotool search --name . getwindowname %@ 2>/dev/null | tr '\n' '|'))"
wineserver -k 2>/dev/null || true
wineserver -w
wait || true
for key in .brk Varnhold.Brackel.brk; do
  reg delete "HKLM\\Software\\Classes\\$key" /f >/dev/null || fail "could not remove the copy of $key"
done

# ---- uninstall ----
step "uninstalling silently"
wine "$inst/Uninstall.exe" /S
wineserver -w
for _ in $(seq 1 20); do [ -e "$inst" ] || break; sleep 0.5; done
[ ! -e "$inst" ] || fail "left in the install folder: $(cd "$inst" && find . | tr '\n' ' ')"
[ ! -e "$menu" ] || fail "left in the Start menu: $(cd "$menu" && find . | tr '\n' ' ')"
for key in "$uninst" "$settings" "$classes\\.brk" "$classes\\.edt" "$classes\\Varnhold.Brackel.brk" \
           "$classes\\Varnhold.Velloc.vlc" "$classes\\Varnhold.Velloc.edt"; do
  ! has_key "$key" || fail "the key $key is left"
done
expect "$classes\\.vlc" "" Other.vlc
! reg query "$classes\\.vlc\\OpenWithProgids" /v Varnhold.Velloc.vlc >/dev/null || fail "Velloc is left in .vlc's \"Open with\" list"
expect "$classes\\Other.vlc\\shell\\open\\command" "" 'other.exe "%1"'
[ -z "$(value 'HKCU\Environment' Path)" ] || fail "the user's PATH keeps \"$(value 'HKCU\Environment' Path)\""
(cd "$game" && find . -type f -print0 | sort -z | xargs -0 sha256sum) >"$scratch/game-after"
diff "$scratch/game-before" "$scratch/game-after" >&2 || fail "the game folder changed"
sha256sum -c --quiet "$scratch/presets-before" || fail "the player's Presets.ini changed"

# ---- a PATH longer than the installer's strings is never rewritten ----
step "a long PATH"
long_path="C:\\Tools;$(printf 'C:\\Some folder %04d;' $(seq 1 60))C:\\Last"
reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d "$long_path" /f >/dev/null
wine "$old_setup" /S /ADDTOPATH=1
wineserver -w
[ "$(value 'HKCU\Environment' Path)" = "$long_path" ] || fail "the installer changed a long PATH"
wine "$inst/Uninstall.exe" /S
wineserver -w
[ "$(value 'HKCU\Environment' Path)" = "$long_path" ] || fail "the uninstaller changed a long PATH"

# ---- an upgrade into another folder leaves one copy ----
step "upgrading into another folder"
wine "$old_setup" /S "/GAMEDIR=$win_game"
wineserver -w
moved=$WINEPREFIX/drive_c/Editors
wine "$setup" /S '/D=C:\Editors'
wineserver -w
for _ in $(seq 1 20); do [ -e "$inst" ] || break; sleep 0.5; done
[ ! -e "$inst" ] || fail "the upgrade into another folder left the old one: $(cd "$inst" && find . | tr '\n' ' ')"
[ -f "$moved/brackel.exe" ] || fail "the upgrade into another folder put nothing there"
expect "$settings" GameFolder "$win_game"
expect "$classes\\Varnhold.Brackel.brk\\shell\\open\\command" "" "\"C:\\Editors\\brackel.exe\" \"%1\""
expect "$uninst" UninstallString "\"C:\\Editors\\Uninstall.exe\""
wine "$moved/Uninstall.exe" /S
wineserver -w
for _ in $(seq 1 20); do [ -e "$moved" ] || break; sleep 0.5; done
[ ! -e "$moved" ] || fail "left in the other folder: $(cd "$moved" && find . | tr '\n' ' ')"
! has_key "$uninst" || fail "the key $uninst is left"

wineserver -k 2>/dev/null || true
if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "The installer installs, upgrades from $previous keeping the choices (into another folder too), opens .brk files in Brackel and uninstalls cleanly"
