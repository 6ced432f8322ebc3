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

# ---- every program and DLL has its notice, every noticed file is there ----
shipped=$(sed -n 's/^ *Shipped as: //p' <<<"$text" | tr ' ' '\n' | sed '/^$/d' | sort)
binaries=$(cd "$top" && find . -type f \( -iname '*.dll' -o -iname '*.exe' \) | sed 's|^\./||' | sort)
while read -r f; do
  [ -n "$f" ] && fail "$f is in the zip but no notice in THIRD-PARTY.txt names it"
done < <(comm -13 <(echo "$shipped") <(echo "$binaries"))
while read -r f; do
  [ -n "$f" ] && fail "THIRD-PARTY.txt names $f, which is not in the zip"
done < <(comm -23 <(echo "$shipped") <(echo "$binaries"))

# ---- every licence text named is there, and none is there unnamed ----
named=$( (grep -o 'licenses/[A-Za-z0-9._+/-]*[A-Za-z0-9]' <<<"$text"; echo licenses/THIRD-PARTY.txt) | sort -u)
present=$(cd "$top" && find licenses -type f | sort)
while read -r f; do
  [ -n "$f" ] && fail "THIRD-PARTY.txt names $f, which is not in the zip"
done < <(comm -23 <(echo "$named") <(echo "$present"))
while read -r f; do
  [ -n "$f" ] && fail "$f is in the zip but THIRD-PARTY.txt does not name it"
done < <(comm -13 <(echo "$named") <(echo "$present"))
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
