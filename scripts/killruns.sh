#!/usr/bin/env bash
# Attacks the console program's patches of game files as a crash or a second
# user would, and checks that every game file stays whole:
#   scripts/killruns.sh [KILLS] [PAIRS]
# KILLS rounds for each of brk-apply, items-apply and imp-apply (default
# 700): the patch is killed (SIGKILL) at a random moment in a window as wide
# as a whole run takes here. The window starts at 0.4 to 1.2 times a measured
# run and drifts with the machine's load: later after a kill that came before
# the first byte, earlier after a run that finished first, so that the kills
# keep falling around the writes.
# Then a reader (brk-export, items-export, imp-dump) must show the old state
# or the new one, never a mix, and leave the file as it is; a probe opens the
# file for patching and is refused after the rollback by a stand-in backup
# that is none, so the file is seen exactly as the next patch sees it: the
# old state or the new one, never a mix. Last, a patch that reads the file
# and writes it (for imp-apply, another mercenary than the killed run's)
# must give exactly what it gives on the untouched file.
# PAIRS rounds of two items-apply runs at once on one file, the second
# started 0-6 ms after the first (default 300): each either patches or is
# refused as "in use", and the file holds every patch that reported success.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
kills=${1:-700}
pairs=${2:-300}
v=$root/build/cli/varnhold
demo=$root/build/demo-game
[ -x "$v" ] && [ -f "$demo/vrn.exe" ] || "$root/scripts/build.sh" build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# A random duration of up to `most` microseconds (at least `least`), as
# sleep takes it.
random_seconds() {
  local least=${2:-0}
  local us=$(( least + (RANDOM * 32768 + RANDOM) % ($1 - least + 1) ))
  printf '%d.%06d' $((us / 1000000)) $((us % 1000000))
}

# run_time GAME COMMAND INPUT: the mean time of five whole runs on the old
# file, each making its backup, in microseconds.
run_time() {
  local start total=0
  mkdir -p "$work/timed"
  for _ in 1 2 3 4 5; do
    rm -f "$work/timed/"* && cp "$demo/$1" "$work/timed/$1"
    start=$(date +%s%N)
    "$v" "$2" "$work/$3" "$work/timed/$1" >/dev/null 2>&1
    total=$((total + $(date +%s%N) - start))
  done
  echo $((total / 5000))
}

# The inputs of each patch: rules with every attachment for weapon 8, every
# description changed in its first character, a mercenary of another name.
"$v" brk-export "$demo/vrn.exe" - | sed 's/^08=.*/08=11111111/' >"$work/rules.brk"
"$v" items-export --itemdesc "$demo/Itemdesc.edt" - | sed 's/^desc=[^#]/desc=#/' >"$work/texts.vlc"
"$v" imp-dump "$demo/IMP.dat" - | sed 's/^Name=.*/Name=Kara Moss/; s/^Health=.*/Health=83/' >"$work/merc.ini"
"$v" imp-dump "$demo/IMP.dat" - | sed 's/^Name=.*/Name=Mara Voss/; s/^Agility=.*/Agility=61/' >"$work/medic.ini"

# show GAME FILE: what a reader prints of the game file.
show() {
  case $1 in
    vrn.exe) "$v" brk-export "$2" - ;;
    Itemdesc.edt) "$v" items-export --itemdesc "$2" - ;;
    IMP.dat) "$v" imp-dump "$2" - ;;
  esac
}

# new_state GAME COMMAND INPUT [NAME]: the game file once the patch is done,
# kept as $work/NAME (default GAME.new).
new_state() {
  rm -rf "$work/new" && mkdir -p "$work/new" && cp "$demo/$1" "$work/new/$1"
  "$v" "$2" "$work/$3" "$work/new/$1" >/dev/null 2>&1 || fail "$2 does not apply"
  cp "$work/new/$1" "$work/${4:-$1.new}"
}

# kill_rounds GAME COMMAND INPUT NEXT: NEXT is the input of the patch after
# the kill.
kill_rounds() {
  local game=$1 command=$2 input=$3 next=$4 r=$work/round
  local finished=0 untouched=0 rolled=0 discarded=0 done_after=0 shown=0
  new_state "$game" "$command" "$input"
  new_state "$game" "$command" "$next" "$game.next"
  local old_view new_view
  old_view=$(show "$game" "$demo/$game")
  new_view=$(show "$game" "$work/$game.new")
  local took lo hi
  took=$(run_time "$game" "$command" "$input")
  lo=$((took * 4 / 10)) hi=$((took * 12 / 10))
  for ((i = 0; i < kills; i++)); do
    rm -rf "$r" && mkdir "$r" && cp "$demo/$game" "$r/$game"
    # Killed from here, and waited for, so that the next run starts only
    # once the killed one is gone and its hold on the file with it.
    "$v" "$command" "$work/$input" "$r/$game" >/dev/null 2>&1 &
    local pid=$!
    sleep "$(random_seconds "$hi" "$lo")"
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    local status=$?
    [ $status -eq 0 ] || [ $status -eq 137 ] || fail "$command round $i: exit status $status"
    if [ $status -eq 0 ]; then
      cmp -s "$r/$game" "$work/$game.new" || fail "$command round $i: finished, but not the new state"
      finished=$((finished + 1))
      lo=$((lo * 97 / 100)) hi=$((hi * 97 / 100))
      continue
    fi
    [ ! -e "$r/$game.bak" ] || cmp -s "$r/$game.bak" "$demo/$game" || fail "$command round $i: the backup is not the old file"
    local journal=no
    [ -e "$r/.$game.varnhold-journal" ] && journal=yes
    # A reader shows a whole state and changes nothing.
    local before view
    before=$(cksum <"$r/$game")
    view=$(show "$game" "$r/$game" 2>"$r/reader.err") || fail "$command round $i: the reader failed: $(cat "$r/reader.err")"
    [ "$view" = "$old_view" ] || [ "$view" = "$new_view" ] || fail "$command round $i: the reader showed a torn file"
    [ "$(cksum <"$r/$game")" = "$before" ] || fail "$command round $i: the reader changed the file"
    grep -q "unfinished patch" "$r/reader.err" && shown=$((shown + 1))
    # The probe: rolls back what the kill left, then is refused by the empty
    # stand-in backup before it writes anything.
    [ -e "$r/$game.bak" ] && mv "$r/$game.bak" "$r/kept.bak"
    : >"$r/$game.bak"
    local said
    said=$("$v" "$command" "$work/$input" "$r/$game" 2>&1 >/dev/null)
    case "$said" in *"is not a backup"*) ;; *) fail "$command round $i: the probe said: $said" ;; esac
    if cmp -s "$r/$game" "$demo/$game"; then
      case "$said" in
        *"rolled back"*) rolled=$((rolled + 1)) ;;
        *) if [ $journal = yes ]; then discarded=$((discarded + 1)); else
             untouched=$((untouched + 1)) lo=$((lo * 103 / 100)) hi=$((hi * 103 / 100)); fi ;;
      esac
    elif cmp -s "$r/$game" "$work/$game.new"; then
      [ $journal = no ] || fail "$command round $i: the new state with a journal beside it"
      done_after=$((done_after + 1))
    else
      fail "$command round $i: torn after the rollback"
    fi
    [ ! -e "$r/.$game.varnhold-journal" ] || fail "$command round $i: the journal outlived the rollback"
    # Then the next patch, with the backup the killed run made.
    rm "$r/$game.bak"
    [ -e "$r/kept.bak" ] && mv "$r/kept.bak" "$r/$game.bak"
    # After a rollback the file is the old one; after a whole patch, the
    # next input is applied to the new one.
    local expected=$work/$game.next
    if cmp -s "$r/$game" "$work/$game.new"; then
      cp "$r/$game" "$r/probe" && "$v" "$command" "$work/$next" "$r/probe" >/dev/null 2>&1
      expected=$r/probe
    fi
    "$v" "$command" "$work/$next" "$r/$game" >/dev/null 2>&1 || fail "$command round $i: the patch after the kill failed"
    cmp -s "$r/$game" "$expected" || fail "$command round $i: the patch after the kill is not what it makes of a whole file"
    cmp -s "$r/$game.bak" "$demo/$game" || fail "$command round $i: the backup is not the old file"
    [ -z "$(find "$r" -name '*.bak.*' -o -name '*journal*')" ] || fail "$command round $i: leftovers: $(ls -A "$r")"
  done
  echo "$command (a whole run $((took / 1000)) ms, kills at last $((lo / 1000))-$((hi / 1000)) ms): $kills kills:" \
       "$untouched before the first byte, $rolled rolled back, $discarded journals dropped (no byte had reached the file)," \
       "$done_after after the patch was whole, $finished finished first; a reader showed $shown rolled back in memory"
}

pair_rounds() {
  local game=Itemdesc.edt r=$work/pair both=0 refused=0
  "$v" items-export --itemdesc "$demo/$game" - | awk '/^\[02\]/{exit} {print}' | sed 's/^name=.*/name=One/' >"$work/one.vlc"
  "$v" items-export --itemdesc "$demo/$game" - | awk '/^\[/ && !/^\[head\]/ && !/^\[02\]/{skip=1} /^\[02\]/{skip=0} /^\[03\]/{exit} !skip{print}' |
    sed 's/^name=.*/name=Two/' >"$work/two.vlc"
  mkdir -p "$work/states" && cp "$demo/$game" "$work/states/none"
  cp "$demo/$game" "$work/states/one" && "$v" items-apply "$work/one.vlc" "$work/states/one" >/dev/null
  cp "$demo/$game" "$work/states/two" && "$v" items-apply "$work/two.vlc" "$work/states/two" >/dev/null
  cp "$work/states/one" "$work/states/both" && "$v" items-apply "$work/two.vlc" "$work/states/both" >/dev/null
  rm -f "$work"/states/*.bak
  for ((i = 0; i < pairs; i++)); do
    rm -rf "$r" && mkdir "$r" && cp "$demo/$game" "$r/$game"
    "$v" items-apply "$work/one.vlc" "$r/$game" >"$r/one.out" 2>&1 &
    local first=$!
    sleep "$(random_seconds 6000)"
    "$v" items-apply "$work/two.vlc" "$r/$game" >"$r/two.out" 2>&1
    local s2=$?
    wait "$first"
    local s1=$?
    local expected=none
    [ $s1 -eq 0 ] && [ $s2 -eq 0 ] && expected=both
    [ $s1 -eq 0 ] && [ $s2 -ne 0 ] && expected=one
    [ $s1 -ne 0 ] && [ $s2 -eq 0 ] && expected=two
    for n in 1 2; do
      local s out
      s=$([ $n = 1 ] && echo $s1 || echo $s2)
      out=$([ $n = 1 ] && cat "$r/one.out" || cat "$r/two.out")
      [ "$s" -eq 0 ] || case "$out" in *"in use"*) ;; *) fail "pair $i: run $n said: $out" ;; esac
    done
    [ $expected = none ] && fail "pair $i: neither run patched"
    cmp -s "$r/$game" "$work/states/$expected" || fail "pair $i: the file is not the state of the runs that succeeded ($expected)"
    cmp -s "$r/$game.bak" "$demo/$game" || fail "pair $i: the backup is not the old file"
    if [ $expected = both ]; then both=$((both + 1)); else refused=$((refused + 1)); fi
  done
  echo "items-apply pairs: $pairs rounds: $both both patched one after the other, $refused one refused as in use; none lost or torn"
}

[ "$kills" -gt 0 ] && kill_rounds vrn.exe brk-apply rules.brk rules.brk
[ "$kills" -gt 0 ] && kill_rounds Itemdesc.edt items-apply texts.vlc texts.vlc
[ "$kills" -gt 0 ] && kill_rounds IMP.dat imp-apply merc.ini medic.ini
[ "$pairs" -gt 0 ] && pair_rounds
echo "failures: $failures"
[ "$failures" -eq 0 ]
