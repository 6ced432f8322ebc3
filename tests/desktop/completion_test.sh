#!/usr/bin/env bash
# Checks the bash completion of varnhold (desktop/varnhold.bash-completion)
# as bash-completion runs it: the completion function called with
# COMP_WORDS, COMP_CWORD, COMP_LINE and COMP_POINT set as bash sets them, in
# a scratch folder with files of every kind, in upper and lower case.
#
# What it must offer comes from the program: the commands of `varnhold
# --help`, and each command's options and operands from the usage line of
# `varnhold COMMAND --help`, whose operands are looked up below by name for
# the kind of file they take.
#
#   completion_test.sh VARNHOLD COMPLETION_FILE SCRATCH
# Not under `set -eu`: bash-completion's functions are not written for it.
varnhold=$(realpath "$1") completion=$(realpath "$2") scratch=$3

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The scratch folder is emptied first: only one made for this test, so that a
# wrong argument can never remove anything else.
case "$scratch" in
  */completion-scratch) ;;
  *) echo "FAIL: the scratch folder must be a completion-scratch folder, not $scratch" >&2; exit 1 ;;
esac

bash_completion=$(pkg-config --variable=prefix bash-completion 2>/dev/null)/share/bash-completion/bash_completion
[ -f "$bash_completion" ] || bash_completion=/usr/share/bash-completion/bash_completion
if [ ! -f "$bash_completion" ]; then
  echo "FAIL: bash-completion is not installed (scripts/install.sh installs it)" >&2
  exit 1
fi
# shellcheck disable=SC1090
source "$bash_completion"
# shellcheck disable=SC1090
source "$completion"
[ "$(complete -p varnhold 2>/dev/null)" = "complete -F _varnhold varnhold" ] ||
  fail "varnhold's completion is not _varnhold: $(complete -p varnhold 2>&1)"

rm -rf "$scratch"
mkdir -p "$scratch/Game folder" "$scratch/empty" "$scratch/nokind/saves"
cd "$scratch" || exit 1
# Every kind, in both letter cases, and files of no kind.
touch rules.brk OTHER.BRK vrn.exe GAME.EXE setup.Exe Itemdesc.edt BRAYDESC.EDT texts.vlc texts.po NAMES.DEF \
      mine.def IMP.dat imp.DAT presets.ini MERC.INI notes.txt vrn.exe.bak readme
printf '[Presets]\r\nAmount=2\r\n1=Sniper\r\n2=Field medic\r\n[Sniper]\r\nHealth=80\r\n[Field medic]\r\nHealth=70\r\n' >presets.ini
touch empty/notes.txt nokind/IMP.dat nokind/notes.txt

# complete_words WORD... : what the completion offers for the last word
# (empty for a fresh word after a blank), one a line, sorted. A word "="
# stands for the "=" that bash splits off as a word of its own ("--section"
# "=" "Sn"), with no blank on either side in the line.
complete_words() {
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMP_LINE=
  local w previous=
  for w in "$@"; do
    if [ -n "$COMP_LINE" ] && [ "$w" != = ] && [ "$previous" != = ]; then
      COMP_LINE+=" "
    fi
    COMP_LINE+=$w
    previous=$w
  done
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _varnhold varnhold "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}" 2>/dev/null
  ((${#COMPREPLY[@]})) && printf '%s\n' "${COMPREPLY[@]}" | sort
}
lines() { printf '%s\n' "$@" | sort; }
expect() { # expect WHAT GOT WANTED
  [ "$2" = "$3" ] || fail "$1: offered [$(echo $2)], wanted [$(echo $3)]"
}

# ---- the commands, as --help lists them ----
commands=$("$varnhold" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z-]*\)  .*/\1/p')
[ "$(wc -l <<<"$commands")" -ge 8 ] || fail "varnhold --help lists only: $commands"
expect "varnhold <TAB>" "$(complete_words varnhold '')" "$(sort <<<"$commands")"
expect "varnhold brk-<TAB>" "$(complete_words varnhold brk-)" "$(grep '^brk-' <<<"$commands" | sort)"
expect "varnhold -<TAB>" "$(complete_words varnhold -)" "$(lines --help --version)"
expect "varnhold nonsense <TAB>" "$(complete_words varnhold nonsense '')" ""

# The kind of file each operand takes, by command and operand name; an
# operand that is not here fails, so that a new one is given a kind.
declare -A kinds=(
  ["brk-export GAME.EXE"]=exe ["brk-export OUTPUT.brk"]=brk
  ["brk-apply RULES.brk"]=rules ["brk-apply GAME.EXE"]=exe
  ["brk-info FILE"]=rules
  ["items-export ITEMFILE"]=edt ["items-export OUTPUT.vlc"]=textsin
  ["items-apply TEXTS.vlc"]=textsin ["items-apply ITEMFILE"]=edt
  ["names-def ITEMDESC"]=edt ["names-def OUTPUT"]=texts
  ["imp-dump IMP.dat"]=imp ["imp-dump OUTPUT"]=ini
  ["imp-apply PRESETS"]=ini ["imp-apply IMP.dat"]=imp
  ["diff A"]=any ["diff B"]=any
  ["restore FILE"]=game
)
# The files of each kind in the scratch folder, and its folders.
folders=("empty" "Game folder" "nokind")
declare -A files=(
  [exe]="vrn.exe GAME.EXE setup.Exe"
  [brk]="rules.brk OTHER.BRK"
  [rules]="rules.brk OTHER.BRK vrn.exe GAME.EXE setup.Exe"
  [edt]="Itemdesc.edt BRAYDESC.EDT"
  [texts]="texts.vlc NAMES.DEF mine.def"
  [textsin]="texts.vlc texts.po NAMES.DEF mine.def"
  [game]="vrn.exe GAME.EXE setup.Exe Itemdesc.edt BRAYDESC.EDT IMP.dat imp.DAT"
  [any]="rules.brk OTHER.BRK vrn.exe GAME.EXE setup.Exe Itemdesc.edt BRAYDESC.EDT texts.vlc texts.po NAMES.DEF
         mine.def IMP.dat imp.DAT presets.ini MERC.INI notes.txt vrn.exe.bak readme"
  [imp]="IMP.dat imp.DAT"
  [ini]="presets.ini MERC.INI"
)
# A word that fills an operand of each kind.
declare -A sample=([exe]=vrn.exe [brk]=rules.brk [rules]=rules.brk [edt]=Itemdesc.edt [texts]=texts.vlc
                   [textsin]=texts.vlc [game]=vrn.exe [any]=vrn.exe [imp]=IMP.dat [ini]=presets.ini)

# ---- each command's options and operands, from its usage line ----
for c in $commands; do
  # The usage, its lines joined: a long one is wrapped at 80 columns.
  usage=$("$varnhold" "$c" --help | sed '/^$/q' | tr -s '\n ' '  ' | sed -n 's/ $//; s/^Usage: varnhold [a-z-]* //p')
  [ -n "$usage" ] || { fail "varnhold $c --help gives no usage line"; continue; }
  options=$(grep -o -- '--[a-z-]*' <<<"$usage" | sort)
  # The operands: the words in capitals that are not the value of the option
  # before them ("--section NAME", not "--braydesc) ITEMFILE").
  operands=()
  previous=
  for raw in $usage; do
    w=$(tr -d '()[]' <<<"$raw")
    if [[ $w =~ ^[A-Z] && ! ($previous == *--*[a-z] && $w =~ ^[A-Z]+$) ]]; then operands+=("$w"); fi
    previous=$raw
  done
  # The options a command needs, given before its operands.
  needed=()
  [ "$c" = items-export ] && needed=(--itemdesc)

  # shellcheck disable=SC2086
  expect "varnhold $c -<TAB>" "$(complete_words varnhold "$c" -)" "$(lines $options --help)"
  typed=()
  for operand in "${operands[@]}"; do
    kind=${kinds["$c $operand"]}
    if [ -z "$kind" ]; then
      fail "$c's operand $operand has no kind in this test"
      break
    fi
    # shellcheck disable=SC2086
    expect "varnhold $c ${typed[*]} <TAB> ($operand)" "$(complete_words varnhold "$c" "${needed[@]}" "${typed[@]}" '')" \
           "$(lines ${files[$kind]} "${folders[@]}")"
    typed+=("${sample[$kind]}")
  done
  expect "varnhold $c ${typed[*]} <TAB> (no operand is left)" \
         "$(complete_words varnhold "$c" "${needed[@]}" "${typed[@]}" '')" ""
done

# ---- the finer points ----
# The word typed so far narrows the files; their names match in any case.
expect "varnhold brk-apply r<TAB>" "$(complete_words varnhold brk-apply r)" "rules.brk"
expect "varnhold brk-apply O<TAB>" "$(complete_words varnhold brk-apply O)" "OTHER.BRK"
expect "varnhold imp-apply presets.ini i<TAB>" "$(complete_words varnhold imp-apply presets.ini i)" "imp.DAT"
# Into a folder: its files of the kind, else every file there.
expect "varnhold brk-info empty/<TAB>" "$(complete_words varnhold brk-info empty/)" "empty/notes.txt"
# A subfolder is no file of the kind: with no presets file beside it, every
# file and the folder are offered, not the folder alone.
expect "varnhold imp-dump nokind/IMP.dat nokind/<TAB>" "$(complete_words varnhold imp-dump nokind/IMP.dat nokind/)" \
       "$(lines nokind/IMP.dat nokind/notes.txt nokind/saves)"
expect "varnhold brk-info nokind/<TAB>" "$(complete_words varnhold brk-info nokind/)" \
       "$(lines nokind/IMP.dat nokind/notes.txt nokind/saves)"
expect "varnhold imp-apply x.ini nokind/<TAB>" "$(complete_words varnhold imp-apply x.ini nokind/)" \
       "$(lines nokind/IMP.dat nokind/saves)"
# Options and their values are no operands.
expect "varnhold items-export --braydesc BRAYDESC.EDT <TAB>" \
       "$(complete_words varnhold items-export --braydesc BRAYDESC.EDT '')" "$(lines ${files[textsin]} "${folders[@]}")"
expect "varnhold items-export --itemdesc -<TAB>" "$(complete_words varnhold items-export --itemdesc -)" \
       "$(lines --codepage --help --po)"
expect "varnhold imp-dump --section Mine <TAB>" \
       "$(complete_words varnhold imp-dump --section Mine '')" "$(lines ${files[imp]} "${folders[@]}")"
expect "varnhold imp-dump --section=Mine <TAB>" \
       "$(complete_words varnhold imp-dump --section = Mine '')" "$(lines ${files[imp]} "${folders[@]}")"
expect "varnhold imp-apply presets.ini IMP.dat --section -<TAB>" \
       "$(complete_words varnhold imp-apply presets.ini IMP.dat --section -)" ""
# "-" (standard output) is an operand; after "--" every word is one.
expect "varnhold brk-export vrn.exe - <TAB>" "$(complete_words varnhold brk-export vrn.exe - '')" ""
expect "varnhold brk-info -- -<TAB>" "$(complete_words varnhold brk-info -- -)" ""
expect "varnhold brk-info -- <TAB>" "$(complete_words varnhold brk-info -- '')" "$(lines ${files[rules]} "${folders[@]}")"
# The sections of the presets file, but not its [Presets] list.
expect "varnhold imp-apply presets.ini IMP.dat --section <TAB>" \
       "$(complete_words varnhold imp-apply presets.ini IMP.dat --section '')" "$(lines 'Field\ medic' Sniper)"
expect "varnhold imp-apply presets.ini IMP.dat --section=S<TAB>" \
       "$(complete_words varnhold imp-apply presets.ini IMP.dat --section = S)" "Sniper"
expect "varnhold imp-apply --section <TAB> (no presets file yet)" \
       "$(complete_words varnhold imp-apply --section '')" ""
expect "varnhold imp-dump IMP.dat presets.ini --section F<TAB>" \
       "$(complete_words varnhold imp-dump IMP.dat presets.ini --section F)" 'Field\ medic'
# diff's sections are in whichever of its files is a presets file.
expect "varnhold diff IMP.dat presets.ini --section <TAB>" \
       "$(complete_words varnhold diff IMP.dat presets.ini --section '')" "$(lines 'Field\ medic' Sniper)"
expect "varnhold diff presets.ini IMP.dat --section=S<TAB>" \
       "$(complete_words varnhold diff presets.ini IMP.dat --section = S)" "Sniper"
expect "varnhold diff vrn.exe --section <TAB> (no presets file)" "$(complete_words varnhold diff vrn.exe --section '')" ""
# The code pages the programs know, and a value is no operand.
expect "varnhold items-apply texts.po Itemdesc.edt --codepage 125<TAB>" \
       "$(complete_words varnhold items-apply texts.po Itemdesc.edt --codepage 125)" \
       "$(lines 1250 1251 1252 1253 1254 1255 1256 1257 1258)"
expect "varnhold items-export --po --codepage 1251 --itemdesc <TAB>" \
       "$(complete_words varnhold items-export --po --codepage 1251 --itemdesc '')" "$(lines ${files[edt]} "${folders[@]}")"
# A flag given is not offered again, and the layouts exclude each other.
expect "varnhold restore --dry-run --braydesc -<TAB>" "$(complete_words varnhold restore --dry-run --braydesc -)" "--help"
expect "varnhold restore --dry-run <TAB>" \
       "$(complete_words varnhold restore --dry-run '')" "$(lines ${files[game]} "${folders[@]}")"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "completion passes for: $(echo $commands)"
