#!/bin/sh
# vorlanex-screenshots refuses what is not a folder, saying so, before it renders anything.
# Usage: screenshots_arguments.sh PATH_TO_VORLANEX_SCREENSHOTS
set -u
tool=$1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: >"$work/file.png"

check() {  # description, expected text on stderr, arguments...
  description=$1 expected=$2
  shift 2
  (cd "$work" && "$tool" "$@") >"$work/out" 2>"$work/err"
  status=$?
  [ "$status" -ne 0 ] || fail "$description: exit status 0"
  grep -q "$expected" "$work/err" || fail "$description: stderr $(cat "$work/err")"
  ! grep -q "$(printf '\033')" "$work/err" || fail "$description: a raw escape character on stderr"
  [ -z "$(find "$work" -name '*.png' ! -name file.png)" ] || fail "$description: pictures were written"
}

check "an empty name" "folder name is empty" ""
check "a file" "is not a folder" "$work/file.png"
check "a folder inside a file" "cannot create" "$work/file.png/pictures"
check "no argument" "usage" 
# A name that is not UTF-8 would be written into a folder of another name.
check "a name that is not UTF-8" "not valid UTF-8" "$work/pictures$(printf '\377')"
check "a control character in the name" 'cannot create the folder .*\\x1b\[31m' "$work/file.png/$(printf '\033')[31m"

[ "$failures" -eq 0 ] || exit 1
echo "vorlanex-screenshots arguments: every check passed"
