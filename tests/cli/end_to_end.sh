#!/bin/sh
# The built vorlanex-calc as a user runs it: one run, a fault, a usage error and a batch.
# Usage: end_to_end.sh PATH_TO_VORLANEX_CALC
set -u
calc=$1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

"$calc" --separator , kinematika I1=20 I2=8 I3=0,7 I4=15 I5=20 I6=0,8 I7=0,2 I8=1 >"$out" 2>"$err"
status=$?
[ "$status" -eq 0 ] || fail "worked example: exit status $status"
[ "$(wc -l <"$out")" -eq 18 ] || fail "worked example: $(wc -l <"$out") lines instead of 18"
[ "$(sed -n 1p "$out")" = '{"set":"R1","text":"6,865"}' ] || fail "worked example: first line $(sed -n 1p "$out")"
[ "$(sed -n 18p "$out")" = '{"set":"R18","text":"71,482"}' ] || fail "worked example: last line $(sed -n 18p "$out")"
[ ! -s "$err" ] || fail "worked example: stderr $(cat "$err")"

"$calc" --separator , kinematika I1=20 I2=8 I3=0 I4=x >"$out" 2>"$err"
status=$?
[ "$status" -eq 1 ] || fail "fault: exit status $status"
expected=$(printf '%s\n%s' \
  '{"warning":"Pozor, hodnota součinitele adheze musí být > 0 !\rVýpočet nelze provést !"}' \
  "{\"error\":\"'x' is not a valid floating point value.\"}")
[ "$(cat "$out")" = "$expected" ] || fail "fault: output $(cat "$out")"

"$calc" kinematic >"$out" 2>"$err"
status=$?
[ "$status" -eq 2 ] || fail "usage: exit status $status"
[ ! -s "$out" ] || fail "usage: stdout $(cat "$out")"
[ -s "$err" ] || fail "usage: no message on stderr"

# LC_ALL=C: the regional separator is "." when no --separator is given.
printf '%s\n%s\n' '{"page":"kinematika","fields":{"I2":"0","I4":"0","I5":"0","I6":"0.8","I7":"0","I8":"0"}}' '[' \
  | "$calc" --batch >"$out" 2>"$err"
status=$?
[ "$status" -eq 0 ] || fail "batch: exit status $status"
[ "$(wc -l <"$out")" -eq 2 ] || fail "batch: $(wc -l <"$out") lines instead of 2"
grep -q '"R1":"7.845"' "$out" || fail "batch: R1 is not 7.845: $(sed -n 1p "$out")"
sed -n 2p "$out" | grep -q '^{"usage_error":' || fail "batch: second line $(sed -n 2p "$out")"

[ "$failures" -eq 0 ] || exit 1
echo "vorlanex-calc end to end: every check passed"
