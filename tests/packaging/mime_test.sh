#!/bin/sh
# Checks the project file's MIME type as a desktop tells it (GIO, as file managers and
# xdg-mime under GNOME ask it) against the program's own reader: every file the program opens as
# a project, whatever its name, is of the type, and every file it refuses as something else (its
# own BMFont and JSON exports and pages, a font, headers just past the limits) is not, even when
# named .fnt.
# Usage: mime_test.sh PROGRAM MIME_XML SOURCE_DIR WORK_FOLDER
set -u
program=$1
mime_xml=$2
source_dir=$3
work=$4
type=application/x-vemro-font-project

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

byte() {
    printf "\\$(printf '%03o' "$1")"
}

le32() {
    byte $(($1 & 255))
    byte $((($1 >> 8) & 255))
    byte $((($1 >> 16) & 255))
    byte $((($1 >> 24) & 255))
}

# A project without glyphs: texture WIDTH x HEIGHT, font borders 0, 11 points, Normal,
# Antialiased, 1x1, upright, a face name of NAME_LENGTH letters x.
project() {
    le32 "$1"
    le32 "$2"
    le32 0; le32 0; le32 0; le32 0
    le32 11; le32 400; le32 4; le32 1; le32 0
    le32 "$3"
    i=0
    while [ $i -lt "$3" ]; do
        printf x
        i=$((i + 1))
    done
    byte 0
    le32 0
}

rm -rf "$work"
mkdir -p "$work/data/mime/packages" "$work/projects" "$work/others" || fail "cannot create $work"
# One database of the system's types and ours, as on a machine where the program is installed.
cp /usr/share/mime/packages/freedesktop.org.xml "$mime_xml" "$work/data/mime/packages/" ||
    fail "no shared MIME database to add to"
XDG_DATA_DIRS="$work/data" update-mime-database "$work/data/mime" 2>"$work/update.err" ||
    fail "update-mime-database failed"
[ ! -s "$work/update.err" ] || fail "update-mime-database: $(cat "$work/update.err")"

# Projects: the seed corpus, each also without an extension, and headers at the limits.
for file in "$source_dir"/fuzz/corpus/*.fnt; do
    cp "$file" "$work/projects/"
    cp "$file" "$work/projects/$(basename "$file" .fnt)"
done
for sides in "1 1" "512 512" "256 256" "256 512" "255 1"; do
    for name_length in 0 255; do
        set -- $sides
        project "$1" "$2" $name_length >"$work/projects/header_${1}x${2}_$name_length.fnt"
    done
done

# Files the program refuses, named .fnt: its exports, a font, and headers just past the limits.
dejavu=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
[ -f "$dejavu" ] || fail "no $dejavu"
cp "$dejavu" "$work/others/truetype.fnt"
for format in bmfont-text bmfont-xml bmfont-binary json; do
    "$program" --export "$source_dir/fuzz/corpus/full_charset_11pt.fnt" "$work/others/$format" \
        --format "$format" 2>/dev/null || fail "the $format export failed"
done
mv "$work/others/json.json" "$work/others/json.fnt"
mv "$work/others/bmfont-text_0.png" "$work/others/page.fnt"
"$program" --export "$source_dir/fuzz/corpus/full_charset_11pt.fnt" "$work/others/tfd" 2>/dev/null ||
    fail "the tfd export failed"
mv "$work/others/tfd.tga" "$work/others/targa.fnt"
mv "$work/others/tfd.tfd" "$work/others/description.fnt"
rm -f "$work/others"/*.png
project 1024 256 0 >"$work/others/width_1024.fnt"
project 256 1024 0 >"$work/others/height_1024.fnt"
project 256 256 256 >"$work/others/name_256.fnt"

# The type of each file, as "path type" lines.
types() {
    XDG_DATA_HOME="$work/home" XDG_DATA_DIRS="$work/data" gio info -a standard::content-type "$@" |
        awk '/^local path: / { path = substr($0, 13) } /standard::content-type: / { print path, $2 }'
}

count=0
types "$work/projects"/* >"$work/projects.types"
while read -r path kind; do
    count=$((count + 1))
    "$program" --export "$path" "$work/out" >/dev/null 2>&1 || fail "the program does not open $path"
    [ "$kind" = $type ] || fail "$(basename "$path") is $kind"
done <"$work/projects.types"
[ $count -gt 40 ] || fail "only $count projects were typed"

count=0
types "$work/others"/* >"$work/others.types"
while read -r path kind; do
    count=$((count + 1))
    "$program" --export "$path" "$work/out" >/dev/null 2>&1
    [ $? -eq 1 ] || fail "the program does not refuse $path"
    [ "$kind" != $type ] || fail "$(basename "$path") is taken for a project"
done <"$work/others.types"
[ $count -eq 11 ] || fail "$count files other than projects were typed, not 11"

rm -rf "$work"
echo "project MIME type OK"
