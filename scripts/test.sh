#!/usr/bin/env bash
# The test command: installs what is missing, builds the native and the Windows presets with
# warnings as errors, checks the pictures and the formatting, runs the native unit tests, builds
# the packages (scripts/package.sh), then runs the Win32 and end-to-end tests, the setup
# program's among them, under Wine on a private virtual screen. Ends with one line
# "Tests: N passed, M failed" and a non-zero status when anything failed (a build that fails
# counts as one failure).
# TB_JOBS sets the build and native test parallelism (default 2).
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
jobs=${TB_JOBS:-2}
logs=build/test-logs
mkdir -p "$logs"

passed=0
failed=0
timings=()
phase_start=$SECONDS

say() { echo "[test] $*"; }
phase_done() {
    timings+=("$1 $((SECONDS - phase_start))s")
    phase_start=$SECONDS
}
step_failed() {
    say "FAILED: $1"
    failed=$((failed + 1))
}
summary() {
    say "timings: ${timings[*]:-none}"
    if [ "$skipped" -gt 0 ]; then say "$skipped tests skipped"; fi
    echo "Tests: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    exit $?
}

# Adds one ctest run's counts; a run that reports nothing counts as one failure. Skipped
# tests count neither way.
skipped=0
run_ctest() {
    local name=$1 log="$logs/ctest-$1.log"
    shift
    ctest "$@" --output-on-failure 2>&1 | tee "$log"
    local line total fails skips
    line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
    if [ -n "$line" ]; then
        fails=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$line")
        total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
        skips=$(grep -cE '^\s*[0-9]+ - .*\((Skipped|Disabled)\)$' "$log")
        passed=$((passed + total - fails - skips))
        failed=$((failed + fails))
        skipped=$((skipped + skips))
    elif grep -q 'No tests were found' "$log"; then
        say "no $name tests found"
    else
        step_failed "$name tests gave no result"
    fi
}

# The portable zip holds the program as built and a LEESMIJ.txt with Windows line ends.
check_portable_zip() {
    local zip listing
    zip=$(echo build/dist/Tunebalk-*-portable.zip)
    listing=$(unzip -Z1 "$zip" | LC_ALL=C sort | tr '\n' ' ')
    if [ "$listing" != "LEESMIJ.txt tunebalk.exe " ]; then
        say "$zip holds: $listing"
        return 1
    fi
    if ! unzip -p "$zip" tunebalk.exe | cmp -s - build/windows/bin/tunebalk.exe; then
        say "$zip: tunebalk.exe is not the one built"
        return 1
    fi
    if unzip -p "$zip" LEESMIJ.txt | grep -qv $'\r$'; then
        say "$zip: LEESMIJ.txt has lines without CRLF"
        return 1
    fi
}

if ! scripts/install-deps.sh; then
    step_failed "installing the dependencies"
    summary
fi
phase_done deps

# The committed pictures are what art/generate.py draws: it redraws them into a temporary
# folder, and every file it writes must equal the committed one.
check_art() {
    local out files f differ=0
    out=$(mktemp -d) || return 1
    if python3 art/generate.py --out "$out"; then
        files=$(cd "$out" && find . -type f | sort)
        [ -n "$files" ] || differ=1
        while read -r f; do
            cmp "$out/$f" "$f" || differ=1
        done <<<"$files"
    else
        differ=1
    fi
    rm -rf "$out"
    return $differ
}
if check_art >"$logs/art.log" 2>&1; then
    passed=$((passed + 1))
else
    cat "$logs/art.log"
    step_failed "the committed pictures are not what art/generate.py draws (run it, commit them)"
fi
phase_done art

# The sources are as clang-format writes them (.clang-format); generated files opt out inline.
check_format() {
    local f status=0
    while read -r f; do
        clang-format --dry-run -Werror "$f" || status=1
    done < <(find src tests tools -name '*.cpp' -o -name '*.h' | sort)
    return $status
}
if check_format >"$logs/format.log" 2>&1; then
    passed=$((passed + 1))
else
    head -n 40 "$logs/format.log"
    step_failed "sources not formatted (clang-format -i the files named above)"
fi
phase_done format

# Native: core and simulation, unit and contract tests under ASan and UBSan.
if cmake --preset linux -B build/linux -DTB_WERROR=ON >"$logs/configure-linux.log" 2>&1 &&
    cmake --build build/linux -j"$jobs"; then
    phase_done build-linux
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        run_ctest native --test-dir build/linux -j"$jobs" --timeout 300
    phase_done test-linux
else
    cat "$logs/configure-linux.log"
    step_failed "the native build"
    phase_done build-linux
fi

# A short run of every fuzzer (clang, libFuzzer, ASan + UBSan), sharing one minute; a fault one
# of them finds counts as a failed test.
if scripts/fuzz.sh "${TB_FUZZ_SECONDS:-60}"; then
    passed=$((passed + 1))
else
    step_failed "the fuzzers"
fi
phase_done fuzz

# Windows: the program, its tools and the Win32 and end-to-end tests, run under Wine.
if cmake --preset windows -B build/windows -DTB_WERROR=ON >"$logs/configure-windows.log" 2>&1 &&
    cmake --build build/windows -j"$jobs"; then
    phase_done build-windows
    # The packages, for the end-to-end test of the setup program; the zip is checked here.
    if scripts/package.sh && check_portable_zip; then
        passed=$((passed + 1))
    else
        step_failed "the packages"
    fi
    phase_done package
    # Tests always get a screen of their own, so a desktop in use is neither disturbed nor
    # disturbing.
    TB_XVFB=${TB_XVFB:-1}
    export TB_XVFB
    if source scripts/wine-env.sh; then
        tb_wine_session
        phase_done wine-setup
        # Serial: the tests share one screen, pointer and foreground window.
        run_ctest windows --test-dir build/windows --timeout 300
        phase_done test-windows
    else
        step_failed "setting up Wine"
    fi
else
    cat "$logs/configure-windows.log"
    step_failed "the Windows build"
    phase_done build-windows
fi

summary
