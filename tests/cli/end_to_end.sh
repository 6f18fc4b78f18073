#!/bin/sh
# The built vorlanex-calc as a user runs it: one run, a fault, a usage error and a batch; a
# separator that clashes with a number; output to a full disk and into a closed pipe.
# Usage: end_to_end.sh PATH_TO_VORLANEX_CALC
# (UNREADABLE_INPUT_REASON: the system's words for reading a folder, "Is a directory" on Linux.)
set -u
calc=$1
unreadable_input_reason=${UNREADABLE_INPUT_REASON:-Is a directory}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
out=$(mktemp) err=$(mktemp) work=$(mktemp -d)
trap 'rm -rf "$out" "$err" "$work"' EXIT

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
  "{\"error\":\"'x' is not a valid floating point value.\",\"field\":\"I4\"}")
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
[ "$status" -eq 2 ] || fail "batch with a line that is no scenario: exit status $status"
[ "$(wc -l <"$out")" -eq 2 ] || fail "batch: $(wc -l <"$out") lines instead of 2"
grep -q '"R1":"7.845"' "$out" || fail "batch: R1 is not 7.845: $(sed -n 1p "$out")"
sed -n 2p "$out" | grep -q '^{"line":2,"usage_error":' || fail "batch: second line $(sed -n 2p "$out")"

# "--separator 5" would show 558.979 as "5585979": refused as a usage error.
"$calc" --separator 5 kinematika I1=20 >"$out" 2>"$err"
status=$?
[ "$status" -eq 2 ] || fail "--separator 5: exit status $status"
[ ! -s "$out" ] || fail "--separator 5: stdout $(cat "$out")"

# A separator a reader could take for a minus, and a control character, which the message shows
# escaped rather than sends to the terminal.
"$calc" --separator "$(printf '\342\210\222')" kinematika I1=20 >"$out" 2>"$err"
status=$?
[ "$status" -eq 2 ] || fail "--separator U+2212: exit status $status"
"$calc" --separator "$(printf '\033')" kinematika >"$out" 2>"$err"
grep -q "got '\\\\x1b'" "$err" || fail "--separator ESC: stderr $(cat "$err")"
! grep -q "$(printf '\033')" "$err" || fail "--separator ESC: a raw escape character on stderr"

# An input that cannot be read (a folder) is said so, not taken for a long line.
for jobs in 1 2; do
  "$calc" --jobs $jobs --batch </ >"$out" 2>"$err"
  status=$?
  [ "$status" -eq 4 ] || fail "--batch < / with $jobs jobs: exit status $status"
  grep -qF "the input could not be read ($unreadable_input_reason)" "$err" || fail "--batch < /: stderr $(cat "$err")"
  [ ! -s "$out" ] || fail "--batch < /: stdout $(cat "$out")"
done

# A full disk: nothing is lost silently; status 3 and a message.
for run in "--separator , kinematika I1=20 I2=8 I3=0,7 I4=15 I5=20 I6=0,8 I7=0,2 I8=1" "--list"; do
  # shellcheck disable=SC2086
  "$calc" $run >/dev/full 2>"$err"
  status=$?
  [ "$status" -eq 3 ] || fail "$run >/dev/full: exit status $status"
  grep -q "could not be written" "$err" || fail "$run >/dev/full: stderr $(cat "$err")"
done

# A closed standard output.
"$calc" --list >&- 2>"$err"
status=$?
[ "$status" -eq 3 ] || fail "--list with standard output closed: exit status $status"

# A pipe whose reader has gone, with SIGPIPE ignored: the batch stops at its first line instead of
# reading all its input. The reader opens the pipe, then ends before the command starts; the input
# never ends, so only stopping ends the command.
mkfifo "$work/pipe"
true <"$work/pipe" &
exec 5>"$work/pipe"
wait
(
  trap '' PIPE
  yes '{"page":"kinematika"}' 2>/dev/null | timeout 60 "$calc" --batch >&5 2>"$err"
  echo $? >"$work/status"
)
exec 5>&-
status=$(cat "$work/status")
[ "$status" -eq 3 ] || fail "batch into a closed pipe: exit status $status"
grep -q "could not be written" "$err" || fail "batch into a closed pipe: stderr $(cat "$err")"

[ "$failures" -eq 0 ] || exit 1
echo "vorlanex-calc end to end: every check passed"
