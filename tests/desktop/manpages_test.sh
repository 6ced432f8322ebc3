#!/usr/bin/env bash
# Checks the manual pages a build makes (desktop/man in the build folder):
# each is compressed as Debian wants it, has a whatis line, and formats
# without a single warning from man or groff; varnhold(1) names every
# command that `varnhold --help` lists, with its usage, summary, help and
# options, and the exit statuses.
#
#   manpages_test.sh MAN_FOLDER VERSION PAGE... [-- VARNHOLD]
# (VARNHOLD, the console program, when the build has it; then PAGE includes
# varnhold)
set -uo pipefail
mandir=$1 version=$2
shift 2
pages=()
varnhold=
while [ $# -gt 0 ]; do
  if [ "$1" = -- ]; then
    varnhold=$2
    break
  fi
  pages+=("$1")
  shift
done

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

export LC_ALL=C.UTF-8 MANWIDTH=80 MAN_KEEP_FORMATTING= MANPAGER=cat PAGER=cat
# The options that take a value, with it, as the usage lines give them:
# "--section NAME|--codepage NNNN".
valued=
if [ -n "$varnhold" ]; then
  valued=$(for c in $("$varnhold" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z-]*\)  .*/\1/p'); do
             "$varnhold" "$c" --help | sed -n '1s/^Usage: //p'
           done | grep -oE -- '--[a-z-]+ [A-Z]+' | sort -u | paste -sd'|')
fi
for page in "${pages[@]}"; do
  f=$mandir/$page.1.gz
  if [ ! -f "$f" ]; then
    fail "no $f"
    continue
  fi
  # gzip -9n: no file name and no time in the header (flags 0, mtime 0).
  [ "$(od -An -tx1 -j3 -N5 "$f" | tr -d ' \n')" = 0000000000 ] ||
    fail "$page.1.gz keeps a name or a time in its gzip header (not gzip -n)"
  zcat "$f" | head -n 20 | grep -q "^\.TH ${page^^} 1 [0-9-]* \"Varnhold editors $version\"" ||
    fail "$page(1): no .TH line naming version $version"

  # The warnings as lintian asks for them, and every warning groff has.
  if ! out=$(man --warnings -E UTF-8 -l -Tutf8 -Z "$f" 2>&1 >/dev/null) || [ -n "$out" ]; then
    fail "man --warnings $page(1):"$'\n'"$out"
  fi
  if ! out=$(zcat "$f" | groff -ww -man -z 2>&1) || [ -n "$out" ]; then
    fail "groff -ww $page(1):"$'\n'"$out"
  fi
  whatis=$(lexgrog "$f" 2>&1) || fail "lexgrog $page(1): $whatis"
  grep -q "\"$page - [a-z]" <<<"$whatis" || fail "$page(1) has no whatis line: $whatis"
  text=$(man -l "$f" 2>/dev/null)
  for section in NAME SYNOPSIS DESCRIPTION "SEE ALSO"; do
    grep -qx "$section" <<<"$text" || fail "$page(1) has no $section section"
  done
  for section in OPTIONS "EXIT STATUS"; do
    grep -qx "$section" <<<"$text" || fail "$page(1) has no $section section"
  done

  # What is typed is never split across lines, at the widths of a terminal
  # and a narrow window: no word is hyphenated (groff's hyphen, U+2010, at a
  # line's end), no bracket is torn from its option ("[‐" / "--po]"), and
  # no option is parted from its value ("--section" / "NAME").
  for width in 80 60; do
    narrow=$(MANWIDTH=$width man -l "$f" 2>/dev/null)
    while IFS= read -r line; do
      fail "$page(1) at $width columns splits a word: \"$line\""
    done < <(grep -E $'(\xe2\x80\x90|[[(])$' <<<"$narrow")
    [ -n "$valued" ] || continue
    while IFS= read -r line; do
      fail "$page(1) at $width columns parts an option from its value: \"$line\""
    done < <(awk -v valued="$valued" '
      BEGIN { n = split(valued, pairs, "|") }
      { for (i = 1; i <= n; i++) {
          split(pairs[i], p, " ")
          if (previous ~ ("(^| )" p[1] "$") && $1 == p[2]) print previous " / " $0
        }
        previous = $0 }' <<<"$narrow")
  done
done

# ---- varnhold(1) against varnhold --help ----
if [ -n "$varnhold" ]; then
  # Wide, so that no usage line is broken; blanks squeezed.
  text=$(MANWIDTH=250 man -l "$mandir/varnhold.1.gz" 2>/dev/null | sed 's/  */ /g')
  commands=$("$varnhold" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z-]*\)  .*/\1/p')
  [ "$(wc -l <<<"$commands")" -ge 8 ] || fail "varnhold --help lists only: $commands"
  for c in $commands; do
    summary=$("$varnhold" --help | sed -n "s/^  $c  *//p")
    # The usage, its lines joined: a long one is wrapped at 80 columns.
    usage=$("$varnhold" "$c" --help | sed '/^$/q' | tr -s '\n ' '  ' | sed -n 's/ $//; s/^Usage: //p')
    grep -qF "$usage" <<<"$text" || fail "varnhold(1) lacks the usage \"$usage\""
    grep -qF "$summary" <<<"$text" || fail "varnhold(1) lacks the summary of $c: \"$summary\""
    grep -qx " *$c" <<<"$text" || fail "varnhold(1) has no heading for $c"
    # The first sentence of the command's help, whole.
    first=$("$varnhold" "$c" --help | sed '1,/^$/d' | tr '\n' ' ' | sed 's/\. .*/./; s/  */ /g')
    grep -qF "$first" <<<"$text" || fail "varnhold(1) lacks the help of $c: \"$first\""
    for option in $(grep -o -- '--[a-z-]*' <<<"$usage"); do
      # Its entry's tag: the option alone, or among others the same sentences describe.
      # A short tag has its first line of text beside it.
      grep -qE "^ *(--[a-z-]+( [A-Z]+)?, )*$option( [A-Z]+)?((, --.*)?| [A-Z].*)\$" <<<"$text" ||
        fail "varnhold(1) does not describe $c's option $option"
    done
  done
  # Every command the page describes is one the program has.
  # (Headings are single words; an option's tag starts with its dashes.)
  for c in $(sed -n '/^COMMANDS$/,/^OPTIONS$/s/^ \{1,3\}\([a-z][a-z]*\(-[a-z]*\)*\)$/\1/p' <<<"$text"); do
    grep -qx "$c" <<<"$commands" || fail "varnhold(1) describes $c, which varnhold --help does not list"
  done
  # The exit statuses that --help gives.
  for status in 0 1 2; do
    "$varnhold" --help | grep -q "[ :]$status \(when\|for\)" || fail "varnhold --help does not give exit status $status"
    sed -n '/^EXIT STATUS$/,/^FILES$/p' <<<"$text" | grep -qE "^ *$status( |\$)" ||
      fail "varnhold(1) does not give exit status $status"
  done
  ! zcat "$mandir/varnhold.1.gz" | grep -q '@[A-Z_]*@' || fail "varnhold(1) keeps a mark of its template"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "manual pages pass: ${pages[*]}"
