#!/bin/sh
# The AppStream screenshots: one for every page of the program, each a picture kept in
# docs/screenshots/, the first one the default.
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

[ "$failures" -eq 0 ] || exit 1
echo "metadata screenshots: $(printf '%s\n' "$images" | wc -l) pages, every picture in docs/screenshots"
