#!/usr/bin/env bash
# Runs the commands README.md and docs/*.md give, as a reader would copy them from the source folder,
# and those the manual pages docs/man/*.in give (man_commands.py finds them and fills in their
# placeholders; see there).
# A command is a line of an indented code block (fenced blocks are pictures and synopses, not
# commands); its lines are read in order, each of these kinds:
#   - run, must exit with 0: "vorlanex-calc ...", "vorlanex-protocol ..." (the built programs on the
#     PATH, as installed) and "build/default/...". The two windows run offscreen and pass when they
#     are still up after a few seconds. "$ COMMAND" is run likewise, and every line shown after it
#     (but "...") must be a line of what it prints.
#   - checked, not run: "./test.sh [--fast | --page KEY | --windows]" (the options test.sh takes, a page the
#     registry has), "ctest --test-dir build/default ..." (at least one test selected), "cmake
#     --preset NAME" and "cmake --build build/NAME" (a preset of CMakePresets.json), "./run.sh" and
#     "./package.sh" (they exist), "build/bench/bench/NAME" (a benchmark of bench/CMakeLists.txt).
#   - left to others: "sudo ..." (installing), "build/fuzz/..." (the test fuzz_readme_commands).
# Any other line fails the test, so a new kind of command is never passed over unseen. A line shown
# after "$ COMMAND" that ends in "..." is the start of a line it prints. The commands run in a
# scratch folder that holds links to tests/ and to this build as build/default, "případ.vorlanex"
# (the case file the manual's examples name) and "zaznamenany.vorlanex" (the same with its outcomes
# recorded, which the manual's FILE stands for), so that what they write stays there. A manual page's
# command must exit with 0, or with a status its paragraph states.
# Usage: readme_commands.sh SOURCE_DIR BUILD_DIR
set -u
source_dir=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/build" "$scratch/home"
ln -s "$source_dir/tests" "$scratch/tests"
cp "$source_dir/tests/cases/reconstruction.vorlanex" "$scratch/případ.vorlanex"
"$build/cli/vorlanex-calc" --case "$scratch/případ.vorlanex" --record >"$scratch/zaznamenany.vorlanex" ||
    { echo "FAIL: the recorded case the manual's commands take could not be made"; exit 1; }
ln -s "$build" "$scratch/build/default"
export PATH="$build/cli:$build/spis:$PATH" HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/home"
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
unset XDG_CONFIG_HOME XDG_DATA_HOME

failures=0
ran=0
checked=0
fail() {  # where, line, reason
    failures=$((failures + 1))
    printf 'FAIL %s: %s\n    %s\n' "$1" "$2" "$3"
}

pages=$("$build/cli/vorlanex-calc" --list | sed -n 's/.*"page":"\([^"]*\)".*/\1/p' | sort -u)
presets=$(sed -n 's/.*"name": *"\([^"]*\)".*/\1/p' "$source_dir/CMakePresets.json")

# The words of a line without its comment (the lines checked quote nothing).
words_of() { printf '%s\n' "$1" | sed 's/[[:space:]]#.*$//' | tr -s ' ' '\n' | sed '/^$/d'; }

check_cmake() {  # where, one command of "cmake ..."
    local -a words
    mapfile -t words < <(words_of "$2")
    case "${words[1]:-}" in
        --preset)
            printf '%s\n' "$presets" | grep -qx -- "${words[2]:-}" || fail "$1" "$2" "no preset '${words[2]:-}'" ;;
        --build)
            [[ ${words[2]:-} == build/* ]] && printf '%s\n' "$presets" | grep -qx -- "${words[2]#build/}" ||
                fail "$1" "$2" "'${words[2]:-}' is the folder of no preset" ;;
        *) fail "$1" "$2" "a cmake command this test does not know" ;;
    esac
}

check_static() {  # where, line
    local where=$1 line=$2 part
    local -a words
    mapfile -t words < <(words_of "$line")
    case "$line" in
        "./test.sh"*)
            case "${words[1]:-}|${words[2]:-}|${#words[@]}" in
                "||1" | "--fast||2" | "--windows||2") ;;
                "--page|"*"|3") printf '%s\n' "$pages" | grep -qx -- "${words[2]}" ||
                    fail "$where" "$line" "no page '${words[2]}'" ;;
                *) fail "$where" "$line" "test.sh takes no such options" ;;
            esac ;;
        "./run.sh"* | "./package.sh"*)
            [ -x "$source_dir/${words[0]#./}" ] || fail "$where" "$line" "${words[0]} is not there" ;;
        "ctest --test-dir build/default "*)
            local selected
            selected=$(ctest --test-dir "$build" -N "${words[@]:3}" 2>&1 | sed -n 's/^Total Tests: //p')
            [ "${selected:-0}" -gt 0 ] || fail "$where" "$line" "selects no test" ;;
        "cmake "*)
            while IFS= read -r part; do check_cmake "$where" "$part"; done \
                < <(printf '%s\n' "$line" | sed 's/[[:space:]]#.*$//; s/ *&& */\n/g')
            ;;
        "build/bench/bench/"*)
            grep -q -- "${words[0]#build/bench/bench/}" "$source_dir/bench/CMakeLists.txt" ||
                fail "$where" "$line" "no such benchmark" ;;
        *) return 1 ;;
    esac
    checked=$((checked + 1))
}

# True when `log` has a line that is `shown`, or, where `shown` ends in "...", one that starts with
# what comes before it.
prints_line() {  # log, shown
    if [[ $2 == ?*... ]]; then
        awk -v start="${2%...}" 'index($0, start) == 1 { found = 1 } END { exit !found }' "$1"
    else
        grep -qxF -- "$2" "$1"
    fi
}

run_command() {  # where, line, expected output lines (may be empty), exit statuses allowed (default 0)
    local where=$1 line=$2 expected=$3 allowed=${4:-0} status=0 log=$scratch/output
    ran=$((ran + 1))
    echo "== $line"
    case "$line" in
        build/default/app/vorlanex | build/default/app/vorlanex\ * | build/default/spis/vorlanex-spis*)
            # A window: up for five seconds is a start.
            (cd "$scratch" && timeout 5 bash -c "$line") >"$log" 2>&1 || status=$?
            [ "$status" -eq 124 ] || [ "$status" -eq 0 ] || { fail "$where" "$line" "ended with status $status"; cat "$log"; }
            return ;;
    esac
    (cd "$scratch" && timeout 300 bash -c "$line") >"$log" 2>&1 || status=$?
    if [[ " $allowed " != *" $status "* ]]; then
        fail "$where" "$line" "ended with status $status"
        tail -n 20 "$log"
        return
    fi
    local shown
    while IFS= read -r shown; do
        [ -z "$shown" ] || [ "$shown" = "..." ] || prints_line "$log" "$shown" ||
            fail "$where" "$line" "does not print: $shown"
    done <<<"$expected"
}

# Runs the "$ command" gathered, with the lines shown after it.
flush() {
    if [ -n "$pending" ]; then run_command "$pending_where" "$pending" "$expected"; fi
    pending=""
    expected=""
}

for file in "$source_dir/README.md" "$source_dir"/docs/*.md; do
    name=${file#"$source_dir"/}
    number=0
    fenced=false
    previous_blank=true
    in_block=false
    pending=""     # a "$ command" whose shown output is being gathered
    pending_where=""
    expected=""
    joined=""
    while IFS= read -r raw || [ -n "$raw" ]; do
        number=$((number + 1))
        if [[ $raw == '```'* ]]; then
            $fenced && fenced=false || fenced=true
            continue
        fi
        $fenced && continue
        if [[ $raw == "    "* ]] && { $in_block || $previous_blank; }; then
            in_block=true
            line=${raw#    }
        else
            if [ -z "${raw// /}" ]; then previous_blank=true; else previous_blank=false; in_block=false; fi
            flush
            continue
        fi
        # A line ending in "\" goes on in the next one.
        if [[ $line == *\\ ]]; then
            joined+="${line%\\}"
            continue
        fi
        line="$joined$line"
        joined=""
        line="${line#"${line%%[![:space:]]*}"}"
        where="$name:$number"
        case "$line" in
            '$ '*) flush; pending=${line#\$ }; pending_where=$where ;;
            '{'* | '...')
                if [ -n "$pending" ]; then expected+="$line"$'\n'; fi ;;
            "sudo "* | "build/fuzz/"*) flush ;;
            "vorlanex-calc "* | "vorlanex-protocol "* | "build/default/"*) flush; run_command "$where" "$line" "" ;;
            *) flush; check_static "$where" "$line" || fail "$where" "$line" "a command this test does not know" ;;
        esac
    done <"$file"
    flush
done

# The manual pages' commands, in the order they stand.
man_commands=$scratch/man-commands
if python3 "$source_dir/tests/docs/man_commands.py" "$source_dir" >"$man_commands"; then
    man_ran=$ran
    while IFS= read -r -d '' where && IFS= read -r -d '' allowed && IFS= read -r -d '' line &&
        IFS= read -r -d '' expected; do
        run_command "$where" "$line" "$expected" "$allowed"
    done <"$man_commands"
    [ $((ran - man_ran)) -gt 5 ] || fail "docs/man" "" "the manual pages show hardly any command"
else
    fail "docs/man" "" "man_commands.py could not read the manual pages"
fi

echo "$ran commands run, $checked checked, $failures failed"
[ "$ran" -gt 10 ] || { echo "FAIL: the documentation shows hardly any command"; exit 1; }
[ "$failures" -eq 0 ]
