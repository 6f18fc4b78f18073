#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite:
#   1. the window, the companion command and every test (GUI tests on the offscreen platform);
#   2. all of it again, the offscreen window tests included, under AddressSanitizer and UBSan;
#   3. bounded libFuzzer runs of parse_number and of every page (FUZZ_SECONDS each, default 45);
#   4. the Windows build (mingw-w64): vorlanex-calc.exe run by Wine against the Linux build's command,
#      byte for byte (WINDOWS_SCENARIOS generated scenarios, default 100000); the Windows window and
#      the installer tested under Wine (the main build's tests labelled windows).
# It ends with a summary: each suite's result, the time each phase took, the tests passed and failed.
# For developers, a shorter loop:
#   ./test.sh --fast        the main build and its tests without those labelled slow (ctest -LE
#                           slow: Chromium, the accessibility bus, the packages, the monkey ...);
#                           no sanitizers, no fuzzing
#   ./test.sh --page KEY    the main build, then one page's tests: its table and its rows in the
#                           tests of every page (KEY as vorlanex-calc knows it: draha-zastaveni, ...)
#   ./test.sh --windows     the Windows build and its comparison with the Linux command only
set -euo pipefail
cd "$(dirname "$0")"
mode=all
page_key=
case "${1:-}" in
    "") ;;
    --fast) mode=fast ;;
    --page)
        mode=page
        page_key=${2:?"--page takes a page's key, for example draha-zastaveni"}
        ;;
    --windows) mode=windows ;;
    *) echo "usage: ./test.sh [--fast | --page KEY | --windows]" >&2; exit 2 ;;
esac
source tools/dependencies.sh
install_missing_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
if [ "$mode" = all ] || [ "$mode" = windows ]; then
    install_missing_packages "${WINDOWS_PACKAGES[@]}" "${WINDOWS_INSTALLER_PACKAGES[@]}" "${WINDOWS_TEST_PACKAGES[@]}"
    install_32bit_wine
fi

# The tests read the decimal separator of a Czech locale; make sure one is installed.
if [ "$(id -u)" -eq 0 ] && ! locale -a 2>/dev/null | grep -qi '^cs_CZ\.utf-\?8$'; then
    localedef -i cs_CZ -f UTF-8 cs_CZ.UTF-8 || echo "note: could not create the cs_CZ.UTF-8 locale"
fi

jobs=$(nproc)
summary=()
passed=0
failed=0
run_suite() {  # name, build dir, further ctest arguments
    local name=$1 dir=$2
    shift 2
    local log
    log=$(mktemp)
    local status=0
    (cd "$dir" && ctest --output-on-failure -j"$jobs" "$@") | tee "$log" || status=$?
    local line
    line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1 || true)
    if [[ $line =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
        failed=$((failed + BASH_REMATCH[1]))
        passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
    elif [ "$status" -ne 0 ]; then
        failed=$((failed + 1))
    fi
    summary+=("$name: ${line:-no summary (ctest exit $status)}")
    rm -f "$log"
}
# The time each phase took, for the summary.
phase_times=()
phase_started=$SECONDS
minutes_and_seconds() { printf '%-16s %3d min %2d s' "$1:" $(($2 / 60)) $(($2 % 60)); }
end_phase() {  # name
    phase_times+=("$(minutes_and_seconds "$1" $((SECONDS - phase_started)))")
    phase_started=$SECONDS
}

if [ "$mode" = page ]; then
    cmake --preset default -DVORLANEX_TESTS=ON -DVORLANEX_PICTURE_GENERATOR=ON >/dev/null
    cmake --build build/default -j"$jobs"
    # The page's own table by its label; the tests of every page name it with "_" for "-".
    (cd build/default && ctest --output-on-failure -j"$jobs" -L "^page:${page_key}\$" &&
        ctest --output-on-failure -j"$jobs" -R "/${page_key//-/_}( |\$)")
    exit
fi

if [ "$mode" = all ]; then
echo "== sanitizer build (AddressSanitizer + UBSan) =="
cmake --preset sanitize >/dev/null
cmake --build build/sanitize -j"$jobs"
# Tests labelled any_build check the sources or the install rules, whatever the compiler's flags:
# the main build runs them. Those labelled windows run in the Windows phase.
run_suite "sanitizer build" build/sanitize -LE 'any_build|windows'
end_phase "sanitizer build"

echo "== fuzz build (libFuzzer, clang) =="
cmake --preset fuzz >/dev/null
# The fuzzers alone: the fuzz build's other programs are built and tested by the two other builds.
cmake --build build/fuzz -j"$jobs" --target fuzz_parse_number fuzz_every_page
fuzz_seconds=${FUZZ_SECONDS:-45}
start_fuzzer() {  # name, seconds, seed folders...: runs in the background, its status in build/fuzz/NAME.status
    local name=$1 seconds=$2
    shift 2
    mkdir -p "build/fuzz/corpus-$name"
    rm -f "build/fuzz/$name.status"
    {
        local status=0
        "build/fuzz/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 \
            "build/fuzz/corpus-$name" "$@" >"build/fuzz/$name.log" 2>&1 || status=$?
        echo "$status" >"build/fuzz/$name.status"
    } &
}
fuzzer_result() {  # name
    local name=$1
    if [ "$(cat "build/fuzz/$name.status" 2>/dev/null)" = 0 ]; then
        passed=$((passed + 1))
        summary+=("fuzz $name: $(grep -m1 -E 'stat::number_of_executed_units' "build/fuzz/$name.log" | awk '{print $2}') runs, no crash")
    else
        failed=$((failed + 1))
        tail -n 40 "build/fuzz/$name.log"
        summary+=("fuzz $name: FAILED (see build/fuzz/$name.log)")
    fi
}
# The two fuzzers side by side, one core each: each still fuzzes for its whole time.
start_fuzzer parse_number "$fuzz_seconds" tests/fuzz/seeds
start_fuzzer every_page "$fuzz_seconds"
wait
fuzzer_result parse_number
fuzzer_result every_page
# The documentation's fuzzing command lines, as written there, on this build.
run_suite "fuzz build" build/fuzz
end_phase "fuzz"
fi

# The Windows build: vorlanex-calc.exe made with mingw-w64 and run by Wine, against the main build's
# command and page tests (only these are built when the main build was not made before).
windows_phase() {
    echo "== windows build (mingw-w64, Wine) =="
    cmake --preset windows >/dev/null
    cmake --build build/windows -j"$jobs"
    local page_tests=(test_braking_page test_braking_bounds_page test_visibility_speed_page test_gev_evu_page
                      test_gev_definition_page test_ees_catalogue_page test_ees_stiffness_page
                      test_stopping_distance_page)
    cmake --build build/default -j"$jobs" --target vorlanex-calc "${page_tests[@]}"
    local log
    log=$(mktemp)
    if tests/windows/compare_with_linux.sh "$PWD/build/default/cli/vorlanex-calc" \
            "$PWD/build/windows/cli/vorlanex-calc.exe" "$PWD" "$PWD/build/windows" "${WINDOWS_SCENARIOS:-100000}" \
            "${page_tests[@]/#/$PWD/build/default/tests/pages/}" | tee "$log"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
    fi
    summary+=("windows build: $(tail -n 1 "$log")")
    rm -f "$log"
    # The window (every page typed into it, its keys) and the installer, under Wine.
    run_suite "windows window and installer" build/default -L windows
    end_phase "windows build"
}

if [ "$mode" = windows ]; then
    cmake --preset default -DVORLANEX_TESTS=ON -DVORLANEX_PICTURE_GENERATOR=ON >/dev/null
    windows_phase
    printf '%s\n' "${summary[@]}" "${phase_times[@]}"
    [ "$failed" -eq 0 ]
    exit
fi

echo "== main build =="
cmake --preset default -DVORLANEX_TESTS=ON -DVORLANEX_PICTURE_GENERATOR=ON >/dev/null
cmake --build build/default -j"$jobs"
if [ "$mode" = fast ]; then
    slow=$(cd build/default && ctest -N -L slow | sed -n 's/^Total Tests: //p')
    echo "== --fast: the ${slow:-0} tests labelled slow are skipped (ctest -L slow runs them) =="
    run_suite "main build" build/default -LE 'slow|windows'
    summary+=("main build: ${slow:-0} tests labelled slow skipped (--fast)")
else
    run_suite "main build" build/default -LE windows
fi
end_phase "main build"
if [ "$mode" = all ]; then
    windows_phase
fi

echo
echo "== summary =="
printf '%s\n' "${summary[@]}"
echo "time:"
printf '  %s\n' "${phase_times[@]}" "$(minutes_and_seconds total "$SECONDS")"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
