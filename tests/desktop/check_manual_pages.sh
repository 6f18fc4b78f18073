#!/bin/sh
# The manual pages as groff reads them, and against the command they describe: the options of
# vorlanex-calc(1) and of `vorlanex-calc --help` are the same, every page of the command is in both manual pages,
# and the version on the pages is the one `--version` prints; the options of vorlanex-protocol(1)
# and of `vorlanex-protocol --help` are the same too, when that program is given (a build with the
# window).
# Usage: check_manual_pages.sh MANUAL_DIR PATH_TO_VORLANEX_CALC [PATH_TO_VORLANEX_PROTOCOL]
set -u
manuals=$1
calc=$2
protocol=${3:-}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for page in vorlanex.1 vorlanex-spis.1 vorlanex-protocol.1 vorlanex-thumbnailer.1 vorlanex-calc.1 vorlanex-case.5; do
    [ -f "$manuals/$page" ] || { fail "$page was not generated"; continue; }
    warnings=$(groff -man -ww -z -K utf8 -T utf8 "$manuals/$page" 2>&1)
    [ -z "$warnings" ] || fail "groff warns about $page: $warnings"
done

# The options a manual page describes (its .B, .BI and .BR lines under OPTIONS) and those the
# program's --help lists ("  --name" or "  -n, --name") are the same.
same_options() {  # PROGRAM HELP_TEXT MANUAL_PAGE
    described=$(sed -n '/^\.SH OPTIONS/,/^\.SH /p' "$3" | grep -o '^\.B[IR]* \\-\\-[a-z]*' | sed 's/.*\\-\\-/--/')
    [ -n "$described" ] || fail "no options found in $(basename "$3")"
    for option in $described; do
        printf '%s\n' "$2" | grep -q -- "$option" || fail "$1 --help does not mention $option"
    done
    for option in $(printf '%s\n' "$2" | grep -o '^  \(-[a-z], \)\?--[a-z]*' | sed 's/.*--/--/'); do
        printf '%s\n' "$described" | grep -qx -- "$option" || fail "$(basename "$3") does not describe $option"
    done
}

help=$("$calc" --help) || fail "vorlanex-calc --help exited with $?"
same_options vorlanex-calc "$help" "$manuals/vorlanex-calc.1"

# What a batch line's "id" may be, said alike by --help and the manual page.
printf '%s\n' "$help" | grep -q '("id", a string or a number, optional)' || fail "--help does not say what an \"id\" may be"
grep -q '^(a string or a number' "$manuals/vorlanex-calc.1" || fail "vorlanex-calc.1 does not say what an id may be"

pages=$("$calc" --list | sed -n 's/^{"page":"\([^"]*\)".*/\1/p')
[ -n "$pages" ] || fail "vorlanex-calc --list shows no page"
for key in $pages; do
    grep -q "^\.B $(printf '%s' "$key" | sed 's/-/\\\\-/g')$" "$manuals/vorlanex-calc.1" ||
        fail "vorlanex-calc.1 does not describe the page $key"
    grep -q "($(printf '%s' "$key" | sed 's/-/\\\\-/g'))" "$manuals/vorlanex.1" ||
        fail "vorlanex.1 does not name the page $key"
    printf '%s\n' "$help" | grep -q -- "$key" || fail "--help does not name the page $key"
done

version=$(sed -n 's/^\.TH .*"Vorlanex \([^"]*\)".*/\1/p' "$manuals/vorlanex-calc.1")
[ "$("$calc" --version)" = "vorlanex-calc $version" ] ||
    fail "--version prints '$("$calc" --version)', the manual page says $version"
grep -q "\"Vorlanex $version\"" "$manuals/vorlanex.1" || fail "vorlanex.1 does not carry version $version"

if [ -n "$protocol" ]; then
    protocol_help=$("$protocol" --help) || fail "vorlanex-protocol --help exited with $?"
    same_options vorlanex-protocol "$protocol_help" "$manuals/vorlanex-protocol.1"
    [ "$("$protocol" --version)" = "vorlanex-protocol $version" ] ||
        fail "vorlanex-protocol --version prints '$("$protocol" --version)', the manual page says $version"
fi

[ "$failures" -eq 0 ] || exit 1
echo "manual pages: groff is silent, options, pages and version agree with vorlanex-calc $version"
