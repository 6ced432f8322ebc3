#!/usr/bin/env bash
# Checks the Windows icon file iconpaint writes (the icon the Windows
# programs embed): the directory Windows reads (reserved 0, type 1, the
# image count; per image its edge, 256 written as 0, 32 bits, the data's
# length and offset), the images laid end to end up to the file's end, and
# each image byte for byte the PNG the theme mode paints at that size.
#   iconpaint_ico_test.sh ICONPAINT SCRATCH
set -euo pipefail
iconpaint=$1 scratch=$2
case "$scratch" in
  */iconpaint_scratch) ;;
  *) echo "FAIL: $scratch is not a scratch folder of this check" >&2; exit 1 ;;
esac
rm -rf "$scratch"
mkdir -p "$scratch"

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# le FILE OFFSET BYTES: the little-endian number there.
le() { od -An -tu"$3" -j"$2" -N"$3" --endian=little "$1" | tr -d ' '; }

sizes=(16 24 32 256)
"$iconpaint" --ico "$scratch/velloc.ico" "$(IFS=,; echo "${sizes[*]}")" velloc
"$iconpaint" "$scratch/theme" "$(IFS=,; echo "${sizes[*]}")" velloc=velloc
ico=$scratch/velloc.ico
[ "$(le "$ico" 0 2)" = 0 ] && [ "$(le "$ico" 2 2)" = 1 ] || fail "not an icon file's header"
[ "$(le "$ico" 4 2)" = ${#sizes[@]} ] || fail "the header counts $(le "$ico" 4 2) images, not ${#sizes[@]}"
next=$((6 + 16 * ${#sizes[@]}))
for i in "${!sizes[@]}"; do
  size=${sizes[$i]} entry=$((6 + 16 * i))
  edge=$((size == 256 ? 0 : size))
  [ "$(le "$ico" $entry 1)" = $edge ] && [ "$(le "$ico" $((entry + 1)) 1)" = $edge ] ||
    fail "image $i is not given as ${size}x$size"
  [ "$(le "$ico" $((entry + 4)) 2)" = 1 ] && [ "$(le "$ico" $((entry + 6)) 2)" = 32 ] ||
    fail "image $i is not one plane of 32 bits"
  length=$(le "$ico" $((entry + 8)) 4) offset=$(le "$ico" $((entry + 12)) 4)
  [ "$offset" = $next ] || fail "image $i starts at $offset, not $next"
  # dd, not tail | head: head ends the pipe early, and pipefail would end the check.
  dd if="$ico" of="$scratch/image$i.png" bs=64K iflag=skip_bytes,count_bytes skip="$offset" count="$length" \
    status=none
  cmp -s "$scratch/image$i.png" "$scratch/theme/${size}x$size/apps/velloc.png" ||
    fail "image $i is not the ${size}px PNG of the theme"
  next=$((offset + length))
done
[ "$(stat -c %s "$ico")" = $next ] || fail "the file is $(stat -c %s "$ico") bytes, its images end at $next"

# Refused: a size an icon file cannot hold, a design that does not exist.
! "$iconpaint" --ico "$scratch/big.ico" 512 velloc 2>/dev/null || fail "512 pixels accepted for an icon file"
! "$iconpaint" --ico "$scratch/none.ico" 32 nosuch 2>/dev/null || fail "an unknown design accepted"
[ ! -e "$scratch/big.ico" ] && [ ! -e "$scratch/none.ico" ] || fail "a refused icon file was written"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "The icon file holds the ${#sizes[@]} theme images in the layout Windows reads"
