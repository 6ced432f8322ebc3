#!/usr/bin/env bash
# Makes docs/screenshots/{brackel,velloc,kestrin}.png: installs what is
# missing, builds, and starts each program on a virtual display as its
# desktop entry does, in a copy of the demo game folder and with one of
# its files open, then takes a picture of the program's window.
#   scripts/screenshots.sh
#
# The windows show the open file's whole path, so the copy lies where a
# player would keep the game, ~/Games/Varnhold, under a home folder of its
# own: /home/player, in a private mount namespace whose /home is an empty
# memory file system (the machine's /home is neither seen nor changed), or,
# where no namespace can be made, a temporary folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${VARNHOLD_SCREENSHOT_HOME-}" ]; then
  "$root/scripts/install.sh"
  "$root/scripts/build.sh" build -DCMAKE_BUILD_TYPE=RelWithDebInfo
  if unshare --mount --map-root-user true 2>/dev/null; then
    exec unshare --mount --map-root-user --propagation private \
      env VARNHOLD_SCREENSHOT_HOME=/home/player bash "$0" "$@"
  fi
fi

out=$root/docs/screenshots
mkdir -p "$out"
work=$(mktemp -d)
xvfb_pid='' app_pid='' machine_home=''
cleanup() {
  [ -z "$app_pid" ] || kill "$app_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  # The machine's /home, bound into the namespace, is let go before any
  # removal, and no removal crosses into another file system.
  [ -z "$machine_home" ] || umount -R -l "$machine_home" || return
  rm -rf --one-file-system "$work"
}
trap cleanup EXIT
trap 'echo "screenshots: stopped by a failed command at line $LINENO" >&2' ERR

fail() {
  echo "screenshots: $*" >&2
  if [ -n "$app_pid" ]; then
    echo "Windows shown:" >&2
    for w in $(xdo search --all --onlyvisible --pid "$app_pid" --name . || true); do
      echo "  $(xdo getwindowname "$w" || true)" >&2
    done
    echo "Program output:" >&2
    sed 's/^/  /' "$work/app.log" >&2 || true
  fi
  exit 1
}

# Every call to the display ends within seconds, whatever happens.
xdo() { timeout 10 xdotool "$@"; }

# The first visible window of the program whose title matches, waited for.
window() {
  local ids
  ids=$(timeout 20 xdotool search --sync --all --onlyvisible --pid "$app_pid" --name "$1") ||
    fail "no window \"$1\" appeared"
  echo "${ids%%$'\n'*}"
}

# Points at a window (focus follows the pointer) and presses keys in it.
press() {
  local w=$1; shift
  xdo mousemove --window "$w" 20 20
  xdo windowfocus --sync "$w"
  [ $# -eq 0 ] || xdo key --delay 40 "$@"
}

# Answers a box with Return and waits until it has closed.
answer() {
  local w
  w=$(window "$1")
  press "$w" Return
  for _ in $(seq 50); do
    xdo search --all --onlyvisible --pid "$app_pid" --name "$1" >/dev/null || return 0
    sleep 0.1
  done
  fail "box \"$1\" did not close"
}

# A virtual display of our own, on the first free number.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; fail "Xvfb did not start"; }
DISPLAY=:$(cat "$work/display")

# The player's home: in the namespace, a fresh /home with the folders this
# script works in bound back when they lay under the machine's /home.
if [ "${VARNHOLD_SCREENSHOT_HOME-}" = /home/player ]; then
  under_home=()
  for folder in "$root" "$work"; do
    case $folder in /home/*) under_home+=("$folder") ;; esac
  done
  if [ ${#under_home[@]} -gt 0 ]; then
    machine_home=$work/machine-home
    mkdir "$machine_home"
    mount --rbind /home "$machine_home"
  fi
  mount -t tmpfs -o mode=755 tmpfs /home
  for folder in "${under_home[@]}"; do
    mkdir -p "$folder"
    mount --rbind "$machine_home/${folder#/home/}" "$folder"
  done
  HOME=/home/player
else
  HOME=$work/home
fi
mkdir -p "$HOME"
export HOME DISPLAY QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work/runtime
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME
mkdir -m 700 "$work/runtime"

# A scratch copy of the demo game folder, which the programs start in and
# show in their status lines: at the same place on every run, so that the
# pictures only change when the windows do.
game=$HOME/Games/Varnhold
mkdir -p "$game"
cp -r "$root/build/demo-game/." "$game"

# Starts a program as its desktop entry's Exec line says, %f being FILE.
start() {
  local program=$1 file=$2 entry exec_line
  entry=$root/desktop/io.github.varnhold.${program^}.desktop
  exec_line=$(sed -n 's/^Exec=//p' "$entry")
  [ -n "$exec_line" ] || fail "no Exec line in $entry"
  read -ra argv <<<"${exec_line//%f/$file}"
  echo "Starting ${argv[*]} in $game, a copy of build/demo-game"
  (cd "$game" && PATH="$root/build/$program:$PATH" exec "${argv[@]}") >"$work/app.log" 2>&1 &
  app_pid=$!
}

# Takes the picture of window W as docs/screenshots/PROGRAM.png, then ends the program.
shoot() {
  sleep 1 # the last repaint
  xdo search --all --onlyvisible --pid "$app_pid" --name . >"$work/shown" || true
  [ "$(wc -l <"$work/shown")" -eq 1 ] || fail "another window is still open"
  timeout 20 import -window "$1" -define png:exclude-chunks=date,time "$out/$2.png"
  kill "$app_pid"
  for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
  kill -KILL "$app_pid" 2>/dev/null || true
  app_pid=''
  echo "Wrote docs/screenshots/$2.png ($(identify -format '%wx%h' "$out/$2.png"))"
}

# Brackel: the rules of vrn.exe, a rifle with seven attachments chosen.
start brackel vrn.exe
answer '^Success$'
main=$(window '^Brackel$')
press "$main" --repeat 20 Down
shoot "$main" brackel

# Velloc: Itemdesc.edt (OK answers "Itemdesc"), a pistol chosen.
start velloc Itemdesc.edt
answer '^Select Target$'
answer '^Success$'
main=$(window '^Velloc - ')
press "$main" Down
shoot "$main" velloc

# Kestrin: IMP.dat as its path, then "&Read/Reset Custom", which shows no box.
start kestrin IMP.dat
main=$(window '^Kestrin')
press "$main" # focus first, so that only the read changes the picture
sleep 1
timeout 20 import -window "$main" "$work/before.png"
press "$main" alt+r
sleep 1
timeout 20 import -window "$main" "$work/after.png"
# A blinking cursor changes a few pixels; the mercenary's values thousands.
changed=$(compare -metric AE "$work/before.png" "$work/after.png" null: 2>&1 || true)
echo "Read/Reset Custom changed $changed pixels"
[ "${changed%%.*}" -gt 500 ] 2>/dev/null || fail "Read/Reset Custom changed $changed pixels, so nothing was read"
# Focus to the root window: no blinking cursor in the picture.
xdo windowfocus "$(xdo search --maxdepth 0 --name '')"
shoot "$main" kestrin
