#!/bin/bash
# Runs scripts/screenshots into a folder of the build and checks what it made, not its pixels:
# every picture the README and docs/ show is made, as a PNG that ImageMagick reads, every
# picture made is shown, and the pictures made are exactly those kept in docs/images/.
# Usage: screenshots_test.sh SOURCE_DIR OUTPUT_FOLDER
set -u
source_dir=$1
out=$2

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$out"
"$source_dir/scripts/screenshots" "$out" || fail "scripts/screenshots exited with $?"

cd "$source_dir" || fail "no $source_dir"
# Pictures shown outside inline code (an example of the syntax is no picture).
shown=$(sed 's/`[^`]*`//g' README.md docs/*.md | grep -o '](\(docs/\)\?images/[^)]*\.png)' |
    sed 's/^](\(docs\/\)\?images\///; s/)$//' | sort -u)
[ -n "$shown" ] || fail "the README and docs/ show no picture of docs/images/"
for picture in $shown; do
    [ -f "$out/$picture" ] || fail "scripts/screenshots made no $picture, which the docs show"
    identify -format '%m' "$out/$picture" | grep -qx PNG || fail "$picture is not a PNG"
done

made=$(cd "$out" && ls -1 | sort)
[ "$made" = "$shown" ] ||
    fail "pictures made but shown by no document: $(comm -23 <(echo "$made") <(echo "$shown"))"
kept=$(cd docs/images && ls -1 | sort)
[ "$made" = "$kept" ] ||
    fail "docs/images/ differs from what scripts/screenshots makes:"$'\n'"$(diff <(echo "$kept") <(echo "$made"))"
echo "$(echo "$made" | wc -l) pictures made and shown"
