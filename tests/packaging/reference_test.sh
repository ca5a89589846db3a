#!/bin/bash
# Checks the man page and the bash completion made at build time against the program's own
# --help: every command, option, choice and example the usage lists is in the man page and is
# completed, files are offered where the usage names a file, and man renders the page without a
# warning.
# Usage: reference_test.sh PROGRAM MAN_PAGE BASH_COMPLETION WORK_FOLDER
set -u
program=$1
man_page=$2
completion=$3
work=$4

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$work"
mkdir -p "$work/projects/sub" || fail "cannot create $work"
name=$(basename "$program")
usage=$("$program" --help) || fail "--help exited with $?"

# The usage's commands (with the options listed under each) and its examples.
commands=$(printf '%s\n' "$usage" | sed -n "/^Examples:/q; s/^  $name \([a-z-][a-z-]*\).*/\1/p")
options=$(printf '%s\n' "$usage" | sed -n 's/^      \(--[a-z0-9-]*\).*/\1/p')
option_lines=$(printf '%s\n' "$usage" | grep '^      --')
examples=$(printf '%s\n' "$usage" | sed -n '/^Examples:/,$p' | sed -n "s/^  $name //p")
[ -n "$commands" ] && [ -n "$options" ] && [ -n "$examples" ] || fail "the usage lists nothing"
command_with_options=$(printf '%s\n' "$usage" |
    awk -v name="$name" 'index($0, "  " name " ") == 1 { command = $2 } /^      --/ { print command; exit }')
window=no
printf '%s\n' "$usage" | grep -q "^  $name \[" && window=yes

# The man page renders without a warning and shows all of it.
MANWIDTH=80 man --warnings -E UTF-8 -l "$man_page" >"$work/man.txt" 2>"$work/man.err" ||
    fail "man -l exited with $?"
[ ! -s "$work/man.err" ] || fail "man warns: $(cat "$work/man.err")"
# As text: hyphens and minus signs alike as '-', one space between words.
sed 's/\xe2\x88\x92/-/g; s/\xe2\x80\x90/-/g' "$work/man.txt" | tr -s ' \n' ' ' >"$work/man.flat"
for text in $commands "EXIT STATUS"; do
    grep -qF -- "$text" "$work/man.flat" || fail "the man page lacks \"$text\""
done
while read -r line; do
    grep -qF -- "$line" "$work/man.flat" || fail "the man page lacks the option \"$line\""
done <<<"$(printf '%s\n' "$option_lines" | sed 's/^ *//')"
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
    "$function"
    printf '%s\n' "${COMPREPLY[@]}" | sort
}
sorted() {
    printf '%s\n' $1 | sort
}

dashed=$(printf '%s\n' $commands | grep '^-')
[ "$(completes -)" = "$(sorted "$dashed")" ] || fail "commands complete as: $(completes -)"
[ "$(completes "$command_with_options" game.fnt out --)" = "$(sorted "$options")" ] ||
    fail "options complete as: $(completes "$command_with_options" game.fnt out --)"
while read -r option placeholder; do
    [ -n "$placeholder" ] || continue
    got=$(completes "$command_with_options" game.fnt out "$option" "")
    case $placeholder in
    *"|"*)
        want=$(sorted "$(printf '%s\n' "$placeholder" | tr '|' '\n' | grep -v '[A-Z]')")
        [ "$got" = "$want" ] || fail "$option completes as \"$got\", not its choices"
        ;;
    FILE* | PATH*)
        (cd "$work/projects" && touch strings.txt &&
            [ "$(completes "$command_with_options" game.fnt out "$option" str)" = strings.txt ]) ||
            fail "$option does not complete file names"
        ;;
    *)
        [ -z "$got" ] || fail "$option completes its value $placeholder as \"$got\""
        ;;
    esac
done <<<"$(printf '%s\n' "$option_lines" | sed 's/^ *//')"

# Where a project is asked for, only projects and folders are offered.
cd "$work/projects" || fail "no $work/projects"
touch game.fnt notes.txt
[ "$(completes "$command_with_options" "")" = "$(printf 'game.fnt\nsub')" ] ||
    fail "the project argument completes as: $(completes "$command_with_options" "")"
[ "$(completes "$command_with_options" game.fnt no)" = notes.txt ] ||
    fail "the output argument completes as: $(completes "$command_with_options" game.fnt no)"
if [ $window = yes ]; then
    want=$(sorted "game.fnt sub $commands")
    [ "$(completes "")" = "$want" ] || fail "the window's project completes as: $(completes "")"
else
    [ "$(completes "")" = "$(sorted "$commands")" ] || fail "without a window, '' completes files"
fi

cd / && rm -rf "$work"
echo "man page and bash completion OK"
