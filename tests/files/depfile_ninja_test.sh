#!/bin/sh
# Builds two fonts from a build file in a CMake project through Ninja, with the command's depfile
# as the custom command's DEPFILE, as docs/command-line.md shows it: a second build does nothing,
# a changed input remakes only the font that uses it, and the build after that does nothing again.
# Usage: depfile_ninja_test.sh EXECUTABLE WORK_FOLDER CMAKE
set -u
exe=$1
work=$2
cmake=$3

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The build's output, and a failure when it did not end well.
build() {
    "$cmake" --build "$work/build" >"$work/ninja.out" 2>&1 || fail "the build failed: $(cat "$work/ninja.out")"
}

# The modification time of a file, to nanoseconds.
changed() {
    stat -c %y "$work/build/fonts/$1"
}

rm -rf "$work"
mkdir -p "$work/project" || fail "cannot create $work"
cp /usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf "$work/project/mono.ttf" || fail "no DejaVu Sans Mono"
printf 'Привет\n' >"$work/project/strings.txt"
cat >"$work/project/fonts.toml" <<'TOML'
[defaults]
format = "bmfont-text"
charset = "Basic Latin"

[[font]]
output = "title"
face = "DejaVu Serif"
size = 24

[[font]]
output = "body"
font-file = "mono.ttf"
chars-from = "strings.txt"
TOML
cat >"$work/project/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(fonts NONE)
set(VEMRO_FONT_BUILDER vemro-font-builder CACHE FILEPATH "the font builder")
set(FONTS ${CMAKE_CURRENT_BINARY_DIR}/fonts)
add_custom_command(
    OUTPUT ${FONTS}/title.fnt ${FONTS}/body.fnt
    BYPRODUCTS ${FONTS}/title_0.png ${FONTS}/body_0.png
    COMMAND ${VEMRO_FONT_BUILDER} build ${CMAKE_CURRENT_SOURCE_DIR}/fonts.toml
            --output-dir ${FONTS} --depfile ${CMAKE_CURRENT_BINARY_DIR}/fonts.d --quiet
    DEPFILE ${CMAKE_CURRENT_BINARY_DIR}/fonts.d)
add_custom_target(fonts ALL DEPENDS ${FONTS}/title.fnt ${FONTS}/body.fnt)
CMAKE

"$cmake" -S "$work/project" -B "$work/build" -G Ninja -DVEMRO_FONT_BUILDER="$exe" \
    >"$work/configure.out" 2>&1 || fail "configuring failed: $(cat "$work/configure.out")"
build
[ -s "$work/build/fonts/title.fnt" ] && [ -s "$work/build/fonts/body_0.png" ] ||
    fail "the fonts were not built"
build
grep -q "no work to do" "$work/ninja.out" || fail "a build with nothing changed ran: $(cat "$work/ninja.out")"

title=$(changed title.fnt)
body=$(changed body.fnt)
printf 'Привет, мир\n' >"$work/project/strings.txt"
build
grep -q "no work to do" "$work/ninja.out" && fail "a changed characters file was not noticed"
[ "$(changed body.fnt)" != "$body" ] || fail "the font using the changed file was not made again"
[ "$(changed title.fnt)" = "$title" ] || fail "the other font was made again"
build
grep -q "no work to do" "$work/ninja.out" || fail "the build after the change ran again: $(cat "$work/ninja.out")"

rm -rf "$work"
echo "depfile under Ninja OK"
