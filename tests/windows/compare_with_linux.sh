#!/usr/bin/env bash
# vorlanex-calc.exe (the Windows build, run by Wine) against vorlanex-calc (the Linux build): the
# same arguments and input give the same bytes on standard output and error and the same exit
# status, for every page's worked example and table, generated scenarios in one batch, the case
# files run, recorded, reported, verified and sampled, tolerances, sweeps and --jobs 2; a case
# recorded by either verifies on the other; and the command's end-to-end checks on Windows.
# Usage: compare_with_linux.sh LINUX_CALC WINDOWS_CALC SOURCE_DIR WORK_DIR SCENARIOS [PAGE_TEST ...]
#   PAGE_TEST: the page test programs of the Linux build, whose tables become batches.
set -u
linux=$1 windows=$2 source=$3 work=$4 scenario_count=$5
shift 5
page_tests=("$@")

rm -rf "$work/runs" && mkdir -p "$work/runs" || exit 1
cd "$work/runs" || exit 1
# Wine's own folder in the build, its messages off, one server kept for every run.
export WINEPREFIX=$work/wineprefix WINEDEBUG=-all
export LC_ALL=C.UTF-8
# A folder made by another Wine (before its 32-bit part was installed, say) may not start programs:
# it is then made again.
if ! wine "$windows" --version >/dev/null 2>&1; then
    wineserver -k 2>/dev/null
    rm -rf "$WINEPREFIX"
    wine "$windows" --version >/dev/null 2>&1 || { echo "FAIL: Wine cannot run $windows"; exit 1; }
fi
wineserver -p 2>/dev/null  # already running (persistent from an earlier run) is as good
trap 'wineserver -k 2>/dev/null' EXIT

failures=0
compared=0
scenarios=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# run_both NAME INPUT ARGUMENT...: both programs with the same arguments and standard input, their
# outputs compared byte for byte. The outputs stay in NAME.linux.out, NAME.windows.out (.err).
run_both() {
    local name=$1 input=$2
    shift 2
    local linux_status windows_status
    "$linux" "$@" <"$input" >"$name.linux.out" 2>"$name.linux.err"
    linux_status=$?
    wine "$windows" "$@" <"$input" >"$name.windows.out" 2>"$name.windows.err"
    windows_status=$?
    compared=$((compared + 1))
    if [ "$linux_status" -ne "$windows_status" ]; then
        fail "$name: exit status $linux_status on Linux, $windows_status on Windows"
    fi
    local stream
    for stream in out err; do
        if ! cmp -s "$name.linux.$stream" "$name.windows.$stream"; then
            fail "$name: std$stream differs: $(cmp "$name.linux.$stream" "$name.windows.$stream" 2>&1 | head -n 1)"
        fi
    done
    [ -s "$name.linux.out" ] || [ -s "$name.linux.err" ] || fail "$name: no output at all"
}
# run_batch NAME FILE ARGUMENT...: a batch, its scenarios counted.
run_batch() {
    local name=$1 file=$2
    shift 2
    run_both "$name" "$file" --batch "$@"
    scenarios=$((scenarios + $(wc -l <"$file")))
}

# The pages, their fields and worked examples, as both list them.
run_both list /dev/null --separator . --list
run_both list-comma /dev/null --separator , --list
run_both version /dev/null --version
run_both help /dev/null --help
cp list.linux.out pages.jsonl

# Every page's worked example: one run and its report, with either separator; the same with a
# separator of two bytes in UTF-8, which Windows receives in UTF-16 and must pass on unchanged.
python3 - pages.jsonl >examples.txt <<'PYTHON'
import json, sys
for line in open(sys.argv[1], encoding="utf-8"):
    page = json.loads(line)
    print(page["page"], *[f"{field}={text}" for field, text in page["worked_example"].items()])
PYTHON
while read -r page fields; do
    # shellcheck disable=SC2086  # the fields are words without blanks
    run_both "example-$page" /dev/null --separator . "$page" $fields
    run_both "example-comma-$page" /dev/null --separator , "$page" ${fields//./,}
    run_both "example-middle-dot-$page" /dev/null --separator "·" "$page" ${fields//./·}
    run_both "report-$page" /dev/null --separator , --report "$page" ${fields//./,}
    scenarios=$((scenarios + 4))
done <examples.txt

# Every page's table of runs (the page tests' rows), one batch per separator the rows use.
if [ "${#page_tests[@]}" -gt 0 ]; then
    mkdir -p tables
    for program in "${page_tests[@]}"; do
        VORLANEX_PAGE_RUNS_OUT=$PWD/tables "$program" >/dev/null 2>&1 || fail "$program failed on Linux"
    done
    for table in tables/separator-*.jsonl; do
        [ -e "$table" ] || { fail "the page tests wrote no rows"; break; }
        hex=${table#tables/separator-}
        hex=${hex%.jsonl}
        separator=$(printf "$(echo "$hex" | sed 's/../\\x&/g')")
        run_batch "table-$hex" "$table" --separator "$separator"
    done
fi

# Generated scenarios in one batch on one thread, then on two.
python3 "$source/tests/windows/generate_scenarios.py" pages.jsonl "$scenario_count" 2026 >scenarios.jsonl
run_batch generated scenarios.jsonl --separator .
wine "$windows" --separator . --jobs 2 --batch <scenarios.jsonl >generated-jobs.windows.out 2>/dev/null
cmp -s generated.linux.out generated-jobs.windows.out || fail "generated, --jobs 2 on Windows: differs from Linux"
compared=$((compared + 1))
faults=$(grep -c '"error"' generated.linux.out)

# Tolerances and sweeps of a page.
run_both tolerance /dev/null --separator , --tolerance 3000 --seed 11 --jobs 2 kinematika I1=20 I2=8 I3=0,7 \
    I4=14..16 I5=19~0,5 I6=0,7..0,8..0,9 I7=0,2 I8=1
run_both tolerance-report /dev/null --separator , --tolerance 500 --report gev-evu I1=1000
run_both sweep /dev/null --separator , --sweep I1=30..90/12 draha-zastaveni
run_both sweep-report /dev/null --separator , --sweep I2=0,3..1/7 --report draha-zastaveni

# The case files: run, recorded, reported, verified, sampled; one under a name in Czech.
for case_file in "$source"/tests/cases/*.vorlanex; do
    name=$(basename "$case_file" .vorlanex)
    cp "$case_file" "$name.vorlanex"
    run_both "case-$name" /dev/null --case "$name.vorlanex"
    run_both "record-$name" /dev/null --case "$name.vorlanex" --record
    run_both "case-report-$name" /dev/null --case "$name.vorlanex" --report
    run_both "verify-$name" /dev/null --verify "$name.vorlanex"
    run_both "case-tolerance-$name" /dev/null --tolerance 400 --seed 3 --jobs 2 --case "$name.vorlanex"
    # Recorded on one system, verified on the other: every calculation the same.
    cp "record-$name.linux.out" "linux-recorded-$name.vorlanex"
    cp "record-$name.windows.out" "windows-recorded-$name.vorlanex"
    wine "$windows" --verify "linux-recorded-$name.vorlanex" >verified-on-windows.out 2>&1 ||
        fail "$name recorded on Linux does not verify on Windows: $(grep -v '"same":true' verified-on-windows.out | head -n 2)"
    "$linux" --verify "windows-recorded-$name.vorlanex" >verified-on-linux.out 2>&1 ||
        fail "$name recorded on Windows does not verify on Linux: $(grep -v '"same":true' verified-on-linux.out | head -n 2)"
done
cp every-page.vorlanex "spis-žluťoučký kůň.vorlanex"
run_both case-czech-name /dev/null --case "spis-žluťoučký kůň.vorlanex"
grep -q '"line"' case-czech-name.windows.out || fail "a case file named in Czech was not read on Windows"

# The regional settings' separator when none is given: Wine gives Windows programs the user's
# locale from the environment, as Linux gives its programs LC_NUMERIC.
if locale -a 2>/dev/null | grep -qi '^cs_CZ\.utf-\?8$'; then
    LC_ALL=cs_CZ.UTF-8 run_both regional-czech /dev/null --list
    grep -q '"default":"0,8"' regional-czech.windows.out || fail "Windows did not take \",\" from a Czech locale"
fi
run_both regional-c /dev/null --list

# Usage errors and their messages.
run_both unknown-page /dev/null kinematic
run_both separator-digit /dev/null --separator 5 kinematika I1=20
run_both separator-minus /dev/null --separator "−" kinematika I1=20
run_both missing-case /dev/null --case "chybí.vorlanex"

# The command's own end-to-end checks (a full disk, a closed output, a pipe whose reader has gone,
# usage errors) on the Windows build; Windows' C library calls reading a folder "Invalid argument".
printf '#!/bin/sh\nexec wine "%s" "$@"\n' "$windows" >windows-calc.sh && chmod +x windows-calc.sh
LC_ALL=C UNREADABLE_INPUT_REASON="Invalid argument" sh "$source/tests/cli/end_to_end.sh" "$PWD/windows-calc.sh" ||
    fail "the end-to-end checks of the command failed on Windows"

echo "compared $compared runs byte for byte, $scenarios scenarios in them ($scenario_count generated, again with" \
     "--jobs 2; $faults of those end in a fault); $failures failed"
[ "$failures" -eq 0 ]
