#!/bin/sh
# vorlanex-thumbnailer as a file manager calls it: a case file gives a PNG whose longer side is the
# size asked (a portrait sheet), and a file that is no case file, or wrong arguments, give a
# non-zero status and no output file at all.
# Usage: check_thumbnailer.sh PATH_TO_VORLANEX_THUMBNAILER CASES_DIR
set -u
thumbnailer=$1
cases=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The damaged inputs: a half-written first line, a first line that is no case, no lines at all, a
# calculation of a page that does not exist, bytes that are not UTF-8.
head -c 40 "$cases/reconstruction.vorlanex" >"$work/cut.vorlanex"
printf '{"title":"Případ"}\n' >"$work/no-format.vorlanex"
: >"$work/empty.vorlanex"
{ head -n 1 "$cases/reconstruction.vorlanex"; printf '{"page":"no-such-page","fields":{}}\n'; } >"$work/page.vorlanex"
printf '{"format":1,"separator":",","case":{"title":"\377"}}\n' >"$work/bytes.vorlanex"

# size  input                              status  width x height
while read -r size input status dimensions; do
    output=$work/thumbnail.png
    rm -f "$output"
    "$thumbnailer" -s "$size" "$input" "$output" 2>/dev/null
    got=$?
    [ "$got" -eq "$status" ] || fail "-s $size $input: status $got, not $status"
    if [ "$status" -ne 0 ]; then
        [ ! -e "$output" ] || fail "-s $size $input: an output file although it failed"
        continue
    fi
    [ "$(head -c 8 "$output" | od -An -c | tr -d ' ')" = '211PNG\r\n032\n' ] || fail "-s $size $input: no PNG"
    # The PNG header holds the width and height as big-endian 32-bit numbers at bytes 16 to 23.
    got=$(od -An -tu4 --endian=big -j16 -N8 "$output" | tr -s ' ' | sed 's/^ //; s/ /x/')
    [ "$got" = "$dimensions" ] || fail "-s $size $input: $got, not $dimensions"
done <<TABLE
128 $cases/reconstruction.vorlanex 0 91x128
256 $cases/reconstruction.vorlanex 0 181x256
1024 $cases/every-page.vorlanex 0 724x1024
128 $work/cut.vorlanex 1 -
128 $work/no-format.vorlanex 1 -
128 $work/empty.vorlanex 1 -
128 $work/page.vorlanex 1 -
128 $work/bytes.vorlanex 1 -
128 $work/missing.vorlanex 1 -
0 $cases/reconstruction.vorlanex 2 -
big $cases/reconstruction.vorlanex 2 -
TABLE

[ "$failures" -eq 0 ] || exit 1
echo "thumbnailer: every case drawn, every damaged file refused"
