#!/bin/bash
# Checks the man page and the bash completion made at build time against the program's own
# --help: every command, option, sentence and example the usage lists is in the man page; each
# command completes its own options, an option's value completes as its placeholder says (its
# words, numbers, typefaces, files or folders), a command's arguments complete the files they
# name; and man renders the page without a warning.
# Usage: reference_test.sh PROGRAM MAN_PAGE BASH_COMPLETION WORK_FOLDER
set -u
program=$(realpath "$1")
man_page=$2
completion=$3
work=$4

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$work"
mkdir -p "$work/projects/sub" "$work/options" || fail "cannot create $work"
name=$(basename "$program")
usage=$("$program" --help) || fail "--help exited with $?"

# The usage's commands with their arguments, its options and its examples.
synopses=$(printf '%s\n' "$usage" | sed -n "/^Usage:/,/^\$/ s/^  $name \([a-z-][a-z-]*\)/\1/p")
commands=$(printf '%s\n' "$synopses" | cut -d' ' -f1)
examples=$(printf '%s\n' "$usage" | sed -n '/^Examples:/,$p' | sed -n "s/^  $name //p")
# "Options of CMD:" and its lines "  -o, --output OUTPUT" as options/CMD, one "NAME PLACEHOLDER"
# a line (a short name's line ends in its long name); "Options of CMD: those of OTHER but A and
# B." as OTHER's without A and B.
printf '%s\n' "$usage" | awk -v dir="$work/options" '
    /^Options of [^ ]*:$/ { file = dir "/" substr($3, 1, length($3) - 1); next }
    /^Options of [^ ]*: those of / {
        within = dir "/" substr($3, 1, length($3) - 1); source = dir "/" $6; lacking = " "
        for (i = 7; i <= NF; i++) { word = $i; gsub(/[,.]/, "", word); if (word ~ /^-/) lacking = lacking word " " }
        close(source)
        while ((getline line < source) > 0) {
            split(line, f, " "); long = f[3] == "" ? f[1] : f[3]
            if (index(lacking, " " long " ") == 0) print line > within
        }
        close(source); close(within); next
    }
    /^  -/ && file != "" {
        line = substr($0, 3); placeholder = ""
        if (line ~ /^-[a-z], /) { short = substr(line, 1, 2); line = substr(line, 5) } else short = ""
        split(line, f, " "); if (f[2] != "") placeholder = " " f[2]
        print f[1] placeholder > file
        if (short != "") print short (placeholder == "" ? " -" : placeholder) " " f[1] > file
        next
    }
    /^$/ { file = "" }'
option_lines=$(printf '%s\n' "$usage" | sed -n 's/^  \(-[a-z-]\)/\1/p')
sentences=$(printf '%s\n' "$usage" | grep -E '^(Options of [^ ]*: |Keys of a build file: )')
[ -n "$commands" ] && [ -n "$option_lines" ] && [ -n "$examples" ] && [ -n "$sentences" ] ||
    fail "the usage lists nothing"
ls "$work/options"/export "$work/options"/build "$work/options"/--export >/dev/null ||
    fail "the usage lists no options of export, build or --export"
window=no
printf '%s\n' "$usage" | grep -q "^  $name \[" && window=yes

# The man page renders without a warning and shows all of it.
MANWIDTH=80 man --warnings -E UTF-8 -l "$man_page" >"$work/man.txt" 2>"$work/man.err" ||
    fail "man -l exited with $?"
[ ! -s "$work/man.err" ] || fail "man warns: $(cat "$work/man.err")"
# As text: hyphens and minus signs alike as '-', one space between words, no hyphenation.
sed 's/\xe2\x88\x92/-/g; s/\xe2\x80\x90/-/g' "$work/man.txt" | sed -z 's/\xe2\x80\x90\n *//g' |
    tr -s ' \n' ' ' >"$work/man.flat"
for text in $commands "EXIT STATUS" "BUILD FILES"; do
    grep -qF -- "$text" "$work/man.flat" || fail "the man page lacks \"$text\""
done
while read -r line; do
    grep -qF -- "$line" "$work/man.flat" || fail "the man page lacks \"$line\""
done <<<"$option_lines
$sentences"
while read -r example; do
    grep -qF -- "vemro-font-builder $example" "$work/man.flat" ||
        fail "the man page lacks the example \"$example\""
done <<<"$examples"
if [ $window = yes ]; then
    grep -qF -- "[PROJECT.fnt]" "$work/man.flat" || fail "the man page lacks the window's command"
else
    ! grep -qF -- "vemro-font-builder [" "$work/man.flat" || fail "the man page offers a window"
fi

# The completion, as bash runs it for the installed name.
source "$completion" || fail "the completion does not load"
function=$(complete -p vemro-font-builder | sed -n 's/.*-F \([^ ]*\) .*/\1/p')
[ -n "$function" ] || fail "the completion registers no function for vemro-font-builder"
completes() {
    COMP_WORDS=(vemro-font-builder "$@")
    COMP_CWORD=$#
    COMPREPLY=()
    "$function" "$program" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | sort
}
sorted() {
    printf '%s\n' $1 | sort
}
cd "$work/projects" || fail "no $work/projects"
touch game.fnt notes.txt fonts.toml strings.txt

dashed=$(printf '%s\n' $commands | grep '^-')
[ "$(completes -)" = "$(sorted "$dashed")" ] || fail "commands complete as: $(completes -)"
while read -r command arguments; do
    # The arguments that come before the options, and those named: "[PROJECT.fnt] -o OUTPUT"
    # names PROJECT.fnt first; "PROJECT.fnt OUTPUT" names two, which come first.
    arguments=$(printf '%s\n' "$arguments" | sed 's/\[OPTIONS\]//; s/-[a-z] [A-Z]*//g; s/[][]//g')
    set -- $arguments
    before=()
    case $command in -*) before=(game.fnt out) ;; esac
    if [ -f "$work/options/$command" ]; then
        [ "$(completes "$command" "${before[@]}" -)" = "$(cut -d' ' -f1 "$work/options/$command" | sort)" ] ||
            fail "$command's options complete as: $(completes "$command" "${before[@]}" -)"
    fi
    [ $# -gt 0 ] || continue
    case $1 in
    *.*) want=$(sorted "sub $(ls -- *."${1##*.}")") ;;
    *) want=$(sorted "$(ls)") ;;
    esac
    [ "$(completes "$command" "")" = "$want" ] ||
        fail "$command's first argument $1 completes as: $(completes "$command" "")"
    if [ $# -gt 1 ]; then
        [ "$(completes "$command" game.fnt no)" = notes.txt ] ||
            fail "$command's second argument completes as: $(completes "$command" game.fnt no)"
    fi
done <<<"$synopses"

# Each option's value, after each command that takes the option.
face=$("$program" --list-faces | head -n 1)
for file in "$work/options"/*; do
    command=$(basename "$file")
    before=()
    case $command in -*) before=(game.fnt out) ;; esac
    while read -r option placeholder _; do
        [ -n "$placeholder" ] && [ "$placeholder" != - ] || continue
        value() {
            completes "$command" "${before[@]}" "$option" "$1"
        }
        got=$(value "")
        case $placeholder in
        *"|"*)
            literal=$(printf '%s\n' "$placeholder" | tr '|' '\n' | grep -v '[A-Z]' | sort)
            [ "$(comm -23 <(printf '%s\n' "$literal") <(printf '%s\n' "$got"))" = "" ] ||
                fail "$option completes as \"$got\", not all of its choices"
            if printf '%s\n' "$placeholder" | grep -q '[A-Z]'; then
                [ "$(printf '%s\n' "$got" | wc -l)" -gt "$(printf '%s\n' "$literal" | wc -l)" ] ||
                    fail "$option completes only its literal choices, not a $placeholder"
            else
                [ "$got" = "$literal" ] || fail "$option completes as \"$got\", not its choices"
            fi
            ;;
        [0-9]*..[0-9]*)
            [ "$got" = "$(seq "${placeholder%%.*}" "${placeholder##*.}")" ] ||
                fail "$option completes as \"$got\", not $placeholder"
            ;;
        DIR*)
            [ "$(value s)" = sub ] || fail "$option completes as \"$(value s)\", not folders"
            ;;
        *.*)
            [ "$(value "")" = "$(sorted "sub $(ls -- *."${placeholder##*.}")")" ] ||
                fail "$option completes as \"$(value "")\", not its files"
            ;;
        FILE* | PATH* | OUTPUT*)
            [ "$(value str)" = strings.txt ] || fail "$option does not complete file names"
            ;;
        NAME)
            printf '%s\n' "$(value "${face:0:3}")" | grep -qxF "$(printf '%q' "$face")" ||
                fail "$option does not complete the typeface \"$face\": $(value "${face:0:3}")"
            ;;
        *)
            [ -z "$got" ] || fail "$option completes its value $placeholder as \"$got\""
            ;;
        esac
    done <"$file"
done

if [ $window = yes ]; then
    want=$(sorted "game.fnt sub $commands")
    [ "$(completes "")" = "$want" ] || fail "the window's project completes as: $(completes "")"
else
    [ "$(completes "")" = "$(sorted "$commands")" ] || fail "without a window, '' completes files"
fi

cd / && rm -rf "$work"
echo "man page and bash completion OK"
