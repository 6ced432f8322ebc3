#!/usr/bin/env bash
# Runs README.md's transcripts as a newcomer would: every "$ " line of its
# indented blocks, in order, in one shell, from a scratch folder laid out as
# the README assumes (build/demo-game copied fresh, build/cli holding the
# varnhold just built, build/kestrin/Presets.ini), and compares all they
# print with what the README shows after them, so that the README cannot
# drift from the program.
#
# Also checks the Windows zip's README.txt against README.md: it wraps at 80
# columns, says how to unpack the zip in README.md's words, and says how to
# undo a change.
#
#   readme_test.sh SOURCE_FOLDER BUILD_FOLDER SCRATCH
set -uo pipefail
source=$1 build=$2 scratch=$3

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The scratch folder is emptied first: only one made for this test, so that a
# wrong argument can never remove anything else.
case "$scratch" in
  */readme-scratch) ;;
  *) echo "FAIL: the scratch folder must be a readme-scratch folder, not $scratch" >&2; exit 1 ;;
esac
rm -rf "$scratch"
mkdir -p "$scratch/build/cli" "$scratch/build/kestrin" "$scratch/home"
cp -r "$build/demo-game" "$scratch/build/demo-game"
ln -s "$build/cli/varnhold" "$scratch/build/cli/varnhold"
cp "$build/kestrin/Presets.ini" "$scratch/build/kestrin/Presets.ini"

# The transcripts: indented blocks whose first line is a "$ " line. The
# commands go to one file, the whole transcript, unindented, to another.
awk -v commands="$scratch/commands" -v expected="$scratch/expected" '
  /^    / { if (!inblock) { inblock = 1; transcript = /^    \$ / } }
  !/^    / { inblock = 0; transcript = 0 }
  transcript {
    line = substr($0, 5)
    print line > expected
    if (line ~ /^\$ /) print substr(line, 3) > commands
  }' "$source/README.md"
count=$(wc -l <"$scratch/commands")
[ "$count" -ge 30 ] || fail "README.md has only $count transcript commands; the test reads its blocks wrongly"

# Each command is echoed as the README shows it, then run in the same shell,
# so that a cd or a PATH set by one holds for the next; standard error is
# shown where it comes, as in a terminal. The varnhold just built comes
# first on PATH even before the README's own PATH line.
(
  cd "$scratch" || exit 1
  export PATH=$build/cli:$PATH HOME=$scratch/home LC_ALL=C.UTF-8
  unset LANGUAGE LANG XDG_CONFIG_HOME
  exec 2>&1 </dev/null
  while IFS= read -r -u 3 command; do
    printf '$ %s\n' "$command"
    eval "$command"
  done 3<"$scratch/commands"
) >"$scratch/raw" 2>&1
# A terminal shows a CR before a line end as nothing, and the game's text
# files end their lines with CR LF.
sed 's/\r$//' "$scratch/raw" >"$scratch/actual"
if ! diff -u "$scratch/expected" "$scratch/actual" >"$scratch/transcript.diff"; then
  fail "README.md's transcripts differ from what the commands print (- README, + printed):"
  cat "$scratch/transcript.diff" >&2
fi

# ---- the Windows README.txt ----
txt=$source/scripts/windows/README.txt
while IFS= read -r line; do
  fail "README.txt has a line over 80 columns: $line"
done < <(awk 'length > 80' "$txt")
unpack="unpack the folder's contents into the game folder"
tr '\n' ' ' <"$txt" | sed 's/  */ /g' | grep -qiF "$unpack" || fail "README.txt does not say to $unpack"
tr '\n' ' ' <"$source/README.md" | sed 's/  */ /g' | grep -qiF "${unpack/unpack/unpacks}" ||
  fail "README.md does not say that a Windows user ${unpack/unpack/unpacks}"
grep -q '^ *varnhold restore ' "$txt" || fail "README.txt does not say how to undo a change with varnhold restore"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "README.md: $count transcript commands print what it shows"
