#!/bin/sh
# Runs the installed program's headless commands as a build pipeline would, without a display:
# vemro-font-builder or vemro-font-builder-cli, which name themselves in --version. With
# --no-window, also checks that what would open a window is a usage error.
# Usage: cli_process_test.sh EXECUTABLE WORK_FOLDER [--no-window]
set -u
exe=$1
work=$2
window=${3:-}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

run() {
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$exe" "$@"
}

byte() {
    printf "\\$(printf '%03o' "$1")"
}

# A little-endian 32-bit field (non-negative values only).
le32() {
    byte $(($1 & 255))
    byte $((($1 >> 8) & 255))
    byte $((($1 >> 16) & 255))
    byte $((($1 >> 24) & 255))
}

size_of() {
    echo $(($(wc -c <"$1")))
}

rm -rf "$work"
mkdir -p "$work" || fail "cannot create $work"

faces=$(run --list-faces) || fail "--list-faces exited with $?"
printf '%s\n' "$faces" | grep -qx "DejaVu Sans" || fail "--list-faces does not list DejaVu Sans"

version=$(run --version) || fail "--version exited with $?"
[ "$version" = "$(basename "$exe") 1.0.0" ] || fail "--version printed '$version'"

run --no-such-option >/dev/null 2>&1
status=$?
[ $status -eq 2 ] || fail "an unknown option exited with $status instead of 2"

if [ "$window" = --no-window ]; then
    for args in "" "$work/some.fnt"; do
        run $args >"$work/window.out" 2>"$work/window.err"
        status=$?
        [ $status -eq 2 ] || fail "'$args' exited with $status instead of 2"
        [ ! -s "$work/window.out" ] || fail "'$args' printed on standard output"
        head -n 1 "$work/window.err" | grep -q "^$(basename "$exe"): " ||
            fail "'$args' does not name the program: $(head -n 1 "$work/window.err")"
        ! grep -q "open the window" "$work/window.err" || fail "the usage offers a window"
    done
fi

run --export "$work/missing.fnt" "$work/out" 2>"$work/missing.err"
status=$?
[ $status -eq 1 ] || fail "a missing project exited with $status instead of 1"
grep -q "missing.fnt" "$work/missing.err" || fail "the message does not name the missing project"

# 128 x 64 texture, font borders 1, 11 points, Normal, Antialiased, 2x2, upright, DejaVu Sans,
# glyphs A, g and 233 (the last with character borders 2 and 2).
{
    le32 128; le32 64
    le32 1; le32 1; le32 1; le32 1
    le32 11; le32 400; le32 4; le32 2; le32 0
    le32 11; printf 'DejaVu Sans'; byte 0
    le32 3
    byte 65; le32 0; le32 0
    byte 103; le32 0; le32 0
    byte 233; le32 2; le32 2
} >"$work/font.fnt"
[ "$(size_of "$work/font.fnt")" -eq $((53 + 11 + 27)) ] || fail "the generated project has the wrong size"

run --export "$work/font.fnt" "$work/first.png" 2>"$work/first.err"
status=$?
[ $status -eq 0 ] || fail "--export exited with $status: $(cat "$work/first.err")"
[ ! -s "$work/first.err" ] || fail "--export printed: $(cat "$work/first.err")"
[ ! -e "$work/first.png" ] || fail "--export created the chosen name itself"
[ "$(size_of "$work/first.tga")" -eq $((18 + 4 * 128 * 64)) ] || fail "the image has the wrong size"
[ "$(wc -l <"$work/first.tfd")" -eq 8 ] || fail "the description does not have 8 lines"
[ "$(sed -n 3p "$work/first.tfd")" = "$(printf '128 64\r')" ] || fail "line 3 is not '128 64'"
[ "$(tail -n 1 "$work/first.tfd")" = "$(printf 'end\r')" ] || fail "the last line is not 'end'"

run --export "$work/font.fnt" "$work/second" || fail "the second --export failed"
cmp -s "$work/first.tga" "$work/second.tga" || fail "two exports gave different images"
cmp -s "$work/first.tfd" "$work/second.tfd" || fail "two exports gave different descriptions"

run --export "$work/font.fnt" "$work/bm" --format bmfont-text --image png8 ||
    fail "the BMFont export failed"
[ "$(head -c 15 "$work/bm.fnt")" = 'info face="Deja' ] || fail "bm.fnt is no BMFont text"
[ "$(head -c 4 "$work/bm_0.png" | tail -c 3)" = "PNG" ] || fail "bm_0.png is no PNG"
run --export "$work/font.fnt" "$work/font.fnt" --format bmfont-text 2>/dev/null
[ $? -eq 1 ] || fail "an export over the project itself did not exit with 1"

mkdir -p "$work/blocked.tga"
run --export "$work/font.fnt" "$work/blocked" 2>"$work/blocked.err"
status=$?
[ $status -eq 1 ] || fail "an unwritable image exited with $status instead of 1"
[ -s "$work/blocked.tfd" ] || fail "the description was not written when the image failed"

rm -rf "$work"
echo "headless commands OK"
