#!/usr/bin/env bash
# Checks the Windows download as a distributor needs it: every program and
# DLL in the zip has its notice in licenses/THIRD-PARTY.txt ("Shipped as:")
# and every file a notice names is in the zip; every licence text the notices
# name is there, and none lies there that no notice names; the programs are
# stripped, and the zip holds one folder, NAME.
#
#   zip_test.sh SCRATCH NAME OBJDUMP --zip ZIP            checks ZIP
#   zip_test.sh SCRATCH NAME OBJDUMP --cpack CPACK CONFIG  makes it first
set -euo pipefail
scratch=$1 name=$2 objdump=$3 mode=$4
shift 4

# Only a scratch folder of its own is emptied, so that a wrong argument can
# never remove anything else.
case "$scratch" in
  */scratch | */_zip_check) ;;
  *) echo "FAIL: $scratch is not a scratch folder of this check" >&2; exit 1 ;;
esac
rm -rf "$scratch"
mkdir -p "$scratch/out" "$scratch/root"
case $mode in
  --zip) zip=$1 ;;
  --cpack)
    if ! "$1" -G ZIP -B "$scratch/out" --config "$2" >"$scratch/cpack.log" 2>&1; then
      cat "$scratch/cpack.log" >&2
      echo "FAIL: cpack" >&2
      exit 1
    fi
    zip=$scratch/out/$name.zip ;;
  *) echo "usage: zip_test.sh SCRATCH NAME OBJDUMP --zip ZIP | --cpack CPACK CONFIG" >&2; exit 2 ;;
esac
[ -f "$zip" ] || { echo "FAIL: no $zip" >&2; exit 1; }
(cd "$scratch/root" && cmake -E tar xf "$zip")

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

[ "$(cd "$scratch/root" && ls -A)" = "$name" ] ||
  fail "the zip should hold the one folder $name, not: $(cd "$scratch/root" && ls -A | tr '\n' ' ')"
top=$scratch/root/$name
notices=$top/licenses/THIRD-PARTY.txt
[ -f "$notices" ] || { echo "FAIL: no licenses/THIRD-PARTY.txt" >&2; exit 1; }
text=$(tr -d '\r' <"$notices")

# each_unnamed_or_missing NAMED PRESENT WHY: fails for each file present
# but not named (saying WHY), and for each file named but not in the zip.
each_unnamed_or_missing() {
  local f
  while read -r f; do
    [ -n "$f" ] && fail "$f is in the zip but $3"
  done < <(comm -13 <(echo "$1") <(echo "$2"))
  while read -r f; do
    [ -n "$f" ] && fail "THIRD-PARTY.txt names $f, which is not in the zip"
  done < <(comm -23 <(echo "$1") <(echo "$2"))
}

# ---- every program and DLL has its notice, every noticed file is there ----
shipped=$(sed -n 's/^ *Shipped as: //p' <<<"$text" | tr ' ' '\n' | sed '/^$/d' | sort)
binaries=$(cd "$top" && find . -type f \( -iname '*.dll' -o -iname '*.exe' \) | sed 's|^\./||' | sort)
each_unnamed_or_missing "$shipped" "$binaries" "no notice in THIRD-PARTY.txt names it"

# ---- every licence text named is there, and none is there unnamed ----
named=$( (grep -o 'licenses/[A-Za-z0-9._+/-]*[A-Za-z0-9]' <<<"$text"; echo licenses/THIRD-PARTY.txt) | sort -u)
present=$(cd "$top" && find licenses -type f | sort)
each_unnamed_or_missing "$named" "$present" "THIRD-PARTY.txt does not name it"
for f in $present LICENSE.txt; do
  [ -s "$top/$f" ] || fail "$f is missing or empty"
done

# ---- the programs are stripped ----
for exe in "$top"/*.exe; do
  "$objdump" -t "$exe" | grep -q '^no symbols$' || fail "${exe##*/} is not stripped"
done

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "The zip has a notice for each of its $(wc -l <<<"$binaries") programs and DLLs and all $(wc -l <<<"$present") licence files"
