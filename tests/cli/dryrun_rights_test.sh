#!/usr/bin/env bash
# A dry run in a folder that takes no new file is refused as the patch is.
# The user may write the game files but not add a name beside them (a
# folder of root's, the files left writable): the patch cannot make its
# backup, or with a backup there, its journal; the dry run must say the
# same, word for word, and neither may change a byte. The readers read
# there all the same, read-only files and files held by a patch too.
#   dryrun_rights_test.sh VARNHOLD DEMO_FOLDER
set -euo pipefail
varnhold=$1 demo=$2
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"
game=$work/game
mkdir "$game"
cp "$demo"/vrn.exe "$demo"/Itemdesc.edt "$demo"/IMP.dat "$game"/
"$varnhold" brk-export "$game/vrn.exe" - | sed 's/^08=.*/08=11111111/' >"$work/rules.brk"
"$varnhold" items-export --itemdesc "$game/Itemdesc.edt" - | sed 's/^desc=[^#]/desc=#/' >"$work/texts.vlc"
"$varnhold" imp-dump "$game/IMP.dat" - | sed 's/^Health=.*/Health=83/' >"$work/merc.ini"
chmod 644 "$work"/*.*
chmod 666 "$game"/*

# Root may add names anywhere: the runs are made as nobody in a folder of
# root's; anyone else runs them in a folder made read-only.
as=()
if [ "$(id -u)" = 0 ]; then
  as=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  if ! "${as[@]}" test -r "$work/rules.brk"; then
    echo "SKIP: nobody cannot reach $work"
    exit 77
  fi
else
  chmod 555 "$game"
fi

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# check WHAT COMMAND INPUT GAME
check() {
  local what=$1 command=$2 input=$3 file=$game/$4 real dry
  local before
  before=$(sha256sum "$game"/* | sha256sum)
  real=$("${as[@]}" "$varnhold" "$command" "$input" "$file" 2>&1 >/dev/null; echo "exit $?")
  dry=$("${as[@]}" "$varnhold" "$command" --dry-run "$input" "$file" 2>&1 >/dev/null; echo "exit $?")
  case $real in
    "varnhold: $file: "*"Permission denied"*"exit 1") ;;
    *) fail "$what: the patch was not refused: $real" ;;
  esac
  [ "$dry" = "$real" ] || fail "$what: the dry run said \"$dry\" where the patch said \"$real\""
  [ "$(sha256sum "$game"/* | sha256sum)" = "$before" ] || fail "$what: a file changed"
}

check "brk-apply, no backup" brk-apply "$work/rules.brk" vrn.exe
check "items-apply, no backup" items-apply "$work/texts.vlc" Itemdesc.edt
check "imp-apply, no backup" imp-apply "$work/merc.ini" IMP.dat

# With backups made beforehand, only the journal is left to make.
for f in vrn.exe Itemdesc.edt IMP.dat; do
  chmod u+w "$game"
  cp "$game/$f" "$game/$f.bak"
  chmod 644 "$game/$f.bak"
  [ ${#as[@]} -gt 0 ] || chmod 555 "$game"
done
check "brk-apply, no journal" brk-apply "$work/rules.brk" vrn.exe
check "items-apply, no journal" items-apply "$work/texts.vlc" Itemdesc.edt
check "imp-apply, no journal" imp-apply "$work/merc.ini" IMP.dat

# The readers only read: read-only game files in that folder, and files
# another program holds for its patch, are read all the same.
chmod u+w "$game"
rm -f "$game"/*.bak
chmod 444 "$game"/*
[ ${#as[@]} -gt 0 ] || chmod 555 "$game"
readers=(
  "brk-export $game/vrn.exe -" "brk-info $game/vrn.exe" "items-export --itemdesc $game/Itemdesc.edt -"
  "names-def $game/Itemdesc.edt -" "imp-dump $game/IMP.dat -" "diff $game/IMP.dat $game/IMP.dat"
)
for reader in "${readers[@]}"; do
  read -r -a words <<<"$reader"
  out=$("${as[@]}" "$varnhold" "${words[@]}" 2>&1) || fail "$reader on a read-only file: $out"
  held=${words[-1]}
  [ "$held" != - ] || held=${words[-2]}
  out=$(flock -x "$held" "$varnhold" "${words[@]}" 2>&1) || fail "$reader on a held file: $out"
done

[ "$failures" = 0 ] || exit 1
echo "every dry run was refused as its patch was, and every reader read"
