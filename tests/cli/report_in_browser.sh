#!/bin/sh
# The report as a real browser prints it: headless Chromium prints the report of the worked
# example of "Kinematika" to PDF; every page must be A4 (595 x 842 pt), the text and the diagram's
# captions must be in it, and its first page must render to a picture that is not blank.
# The report of a whole case (CASE_FILE) is printed too: every calculation begins a page, and no
# path-time diagram is cut by a page break (its heading and its caption print on one page).
# Exit 77 (skipped) only when Chromium is not installed or cannot print even a one-line page here.
# Usage: report_in_browser.sh PATH_TO_VORLANEX_CALC CASE_FILE
set -u
calc=$1
case_file=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="${HOME:-$work}"

browser=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$browser" ]; then
    echo "SKIP: chromium is not installed"
    exit 77
fi
print_to_pdf() {  # HTML PDF
    timeout 180 "$browser" --headless --no-sandbox --disable-gpu --no-pdf-header-footer \
        --user-data-dir="$work/profile" --print-to-pdf="$2" "file://$1" >"$work/browser.log" 2>&1
}
printf '<!DOCTYPE html>\n<html><body><p>x</p></body></html>\n' >"$work/probe.html"
print_to_pdf "$work/probe.html" "$work/probe.pdf"
if [ ! -s "$work/probe.pdf" ]; then
    echo "SKIP: chromium cannot print here:"
    tail -n 5 "$work/browser.log"
    exit 77
fi

"$calc" --separator , --report kinematika I1=20 I2=8 I3=0,7 I4=15 I5=20 I6=0,8 I7=0,2 I8=1 >"$work/report.html"
status=$?
[ "$status" -eq 0 ] || fail "vorlanex-calc --report: exit status $status"
print_to_pdf "$work/report.html" "$work/report.pdf"
[ -s "$work/report.pdf" ] || { fail "chromium printed no PDF"; tail -n 20 "$work/browser.log"; exit 1; }

pages=$(pdfinfo "$work/report.pdf" | awk '/^Pages:/ { print $2 }')
[ "${pages:-0}" -ge 1 ] || fail "the PDF has no page"
# "Page    1 size: 594.96 x 841.92 pts (A4)" for every page
sizes=$(pdfinfo -f 1 -l "${pages:-1}" "$work/report.pdf" | awk '/^Page +[0-9]+ size:/ { print $4, $6 }')
[ "$(printf '%s\n' "$sizes" | grep -c .)" -eq "${pages:-0}" ] || fail "page sizes not found: $sizes"
printf '%s\n' "$sizes" | while read -r width height; do
    awk -v w="$width" -v h="$height" 'BEGIN { exit !(w > 594 && w < 596 && h > 841 && h < 843) }' ||
        echo "FAIL: a page is $width x $height pt, not A4"
done | grep FAIL && failures=$((failures + 1))

pdftotext -layout "$work/report.pdf" "$work/report.txt"
for expected in "Kinematika" "Výsledky" "0,17052859036965" "46,93" "Diagram dráha–čas" "místo střetu: 46,93 m" \
    "čas od začátku reakce t [s]" "Strana 1 z $pages"; do
    grep -qF "$expected" "$work/report.txt" || fail "the printed text lacks '$expected'"
done

pdftoppm -png -r 50 -f 1 -l 1 -singlefile "$work/report.pdf" "$work/page"
size=$(wc -c <"$work/page.png" 2>/dev/null || echo 0)
[ "$size" -gt 5000 ] || fail "the first page renders to a picture of $size bytes (blank?)"

# A text without spaces longer than its column wraps inside it, in the column of the typed text and
# in that of the text used: no piece of it runs past the right margin (15 mm from the right edge of
# the A4 page, 552.76 pt), and both columns print every digit.
long=123456789012345678901234567890123456789012345678901234567890123456789012
"$calc" --separator , --report kinematika I1=20 I2=8 I3=0,7 I4=15 I5=20 I6=0,8 I7=0,2 "I8=$long" >"$work/long.html"
print_to_pdf "$work/long.html" "$work/long.pdf"
pdftotext -bbox "$work/long.pdf" "$work/long.bbox"
pieces=$(grep -E '<word [^>]*>[0-9]+</word>' "$work/long.bbox")
beyond=$(printf '%s\n' "$pieces" | awk -F'"' '$6 + 0 > 553.8 { print $6 }' | head -n 1)
[ -z "$beyond" ] || fail "a piece of the long text runs past the right margin (to $beyond pt)"
digits=$(printf '%s\n' "$pieces" | sed 's/.*>\([0-9]*\)<\/word>.*/\1/' | tr -d '\n')
[ "$(printf '%s' "$digits" | grep -o "$long" | wc -l)" -ge 2 ] || fail "the long text is not printed whole twice"

"$calc" --report --case "$case_file" >"$work/case.html" || fail "vorlanex-calc --report --case: exit status $?"
print_to_pdf "$work/case.html" "$work/case.pdf"
case_pages=$(pdfinfo "$work/case.pdf" | awk '/^Pages:/ { print $2 }')
sections=$(grep -c '^{' "$case_file")
sections=$((sections - 1))
[ "${case_pages:-0}" -gt "$sections" ] || fail "the case report has ${case_pages:-0} pages for $sections calculations"
started=0
page=1
while [ "$page" -le "${case_pages:-0}" ]; do
    pdftotext -layout -f "$page" -l "$page" "$work/case.pdf" "$work/page.txt"
    starts=$(grep -c "VÝPOČET SPISU · ŘÁDEK" "$work/page.txt")
    [ "$starts" -le 1 ] || fail "page $page holds the start of $starts calculations"
    if [ "$starts" -eq 1 ]; then
        started=$((started + 1))
        first=$(grep -m 1 . "$work/page.txt" | sed 's/^ *//')
        case "$first" in "VÝPOČET SPISU"*) ;; *) fail "a calculation starts below the top of page $page ($first)" ;; esac
    fi
    headings=$(grep -c "Diagram dráha–čas" "$work/page.txt")
    captions=$(grep -c "Dráha vozidla od místa začátku reakce" "$work/page.txt")
    [ "$headings" -eq "$captions" ] || fail "a path-time diagram is cut by the break after page $page"
    grep -qF "Strana $page z $case_pages" "$work/page.txt" || fail "page $page lacks its number"
    page=$((page + 1))
done
[ "$started" -eq "$sections" ] || fail "$started of $sections calculations start a page"

[ "$failures" -eq 0 ] && echo "report printed on $pages A4 page(s); the case report on $case_pages"
[ "$failures" -eq 0 ]
