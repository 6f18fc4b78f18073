#!/bin/sh
# The AppStream screenshots: one for every page of the program, each a picture kept in
# docs/screenshots/, the first one the default. The display requirement is the window's width along
# the screen's longest side (without side="longest" AppStream reads the shorter side, and a 1366 x 768
# screen would be declared too small), and the description is given in Czech too.
# Usage: check_metainfo_screenshots.sh METAINFO SOURCE_DIR PATH_TO_VORLANEX_CALC
set -u
metainfo=$1
source_dir=$2
calc=$3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

images=$(sed -n 's|.*<image[^>]*>[^<]*/docs/screenshots/\([^<]*\)</image>.*|\1|p' "$metainfo")
[ -n "$images" ] || fail "no screenshot in $metainfo"
for image in $images; do
    [ -f "$source_dir/docs/screenshots/$image" ] || fail "docs/screenshots/$image does not exist"
done
for key in $("$calc" --list | sed -n 's/^{"page":"\([^"]*\)".*/\1/p'); do
    printf '%s\n' "$images" | grep -qx "$key-example.png" || fail "no screenshot of the page $key"
done
[ "$(grep -c '<screenshot type="default">' "$metainfo")" -eq 1 ] || fail "not exactly one default screenshot"

length=$(sed -n 's|.*<display_length compare="ge" side="longest">\([0-9]*\)</display_length>.*|\1|p' "$metainfo")
[ -n "$length" ] || fail "no display_length on the longest side"
[ -n "$length" ] && [ "$length" -le 1366 ] || fail "a 1366 x 768 screen is declared too small ($length)"
english_items=$(grep -c '^ *<li>' "$metainfo")
czech_items=$(grep -c '^ *<li xml:lang="cs">' "$metainfo")
[ "$(grep -c '<p xml:lang="cs">' "$metainfo")" -eq "$(grep -c '^ *<p>' "$metainfo")" ] ||
    fail "not every paragraph of the description is in Czech too"
[ "$czech_items" -eq "$english_items" ] || fail "$english_items items in English, $czech_items in Czech"

[ "$failures" -eq 0 ] || exit 1
echo "metadata screenshots: $(printf '%s\n' "$images" | wc -l) pages, every picture in docs/screenshots"
