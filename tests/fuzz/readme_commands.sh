#!/bin/sh
# Runs the fuzzing command lines of README.md and docs/*.md (docs/development.md shows them) as a
# reader would copy them, each bounded: the running time to 3 seconds and the number of runs to
# 20000. A command that libFuzzer refuses (a corpus folder that does not exist, an unknown fuzzer)
# or that finds a crash fails the test.
# Usage: readme_commands.sh SOURCE_DIR FUZZ_BUILD_DIR
set -u
source_dir=$1
build=$2
failures=0
commands=$(grep -h -E '^    build/fuzz/tests/fuzz/fuzz_[a-z_]+ ' "$source_dir/README.md" "$source_dir"/docs/*.md)
[ "$(printf '%s\n' "$commands" | grep -c .)" -ge 2 ] || { echo "FAIL: the documentation shows no fuzzing command"; exit 1; }
cd "$source_dir" || exit 1
while IFS= read -r line; do
    bounded=$(printf '%s\n' "$line" | sed -e "s|build/fuzz/|$build/|g" \
        -e 's/-max_total_time=[0-9]*/-max_total_time=3/' -e 's/-runs=[0-9]*/-runs=20000 -max_total_time=3/')
    echo "== $bounded"
    # The line as the documentation writes it: words split on blanks, nothing else to expand.
    # shellcheck disable=SC2086
    if ! $bounded >"$build/readme_command.log" 2>&1; then
        failures=$((failures + 1))
        echo "FAIL: $line"
        tail -n 20 "$build/readme_command.log"
    fi
done <<END
$commands
END
[ "$failures" -eq 0 ] || exit 1
echo "the documentation's fuzzing commands run on this build"
