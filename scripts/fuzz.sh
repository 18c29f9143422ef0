#!/usr/bin/env bash
# Builds the fuzzers (clang, libFuzzer, ASan + UBSan) and runs each of them in turn.
#
#   scripts/fuzz.sh [seconds] [name...]   each fuzzer for its share of `seconds` (default 60 in
#                                         all); new inputs go to a scratch folder
#   scripts/fuzz.sh --runs N [name...]    a campaign: each fuzzer for N inputs; the inputs it
#                                         finds are kept in build/fuzz/found-<name>/, so a later
#                                         campaign goes on from there
#
# Fails when a fuzzer finds a fault: the input that caused it is left as
# build/fuzz/<name>-crash-… (or -leak-, -timeout-, …), the fuzzer's output in build/fuzz/<name>.log.
set -euo pipefail

# One line per fuzzer: its name (tests/fuzz/<Name>Fuzz.cpp builds tb_fuzz_<name>), the longest
# input it is given, its dictionary (- for none) and its seed corpus.
fuzzers=(
    "registry   1024 tests/fuzz/regedit.dict    tests/fuzz/corpus"
    "winamp     4096 -                          tests/fuzz/corpus-winamp"
    "nowplaying  512 tests/fuzz/nowplaying.dict tests/fuzz/corpus-nowplaying"
)

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

runs=""
seconds=60
if [ "${1:-}" = "--runs" ]; then
    runs=${2:?"--runs needs a number of inputs"}
    shift 2
elif [[ "${1:-}" =~ ^[0-9]+$ ]]; then
    seconds=$1
    shift
fi
chosen=()
for line in "${fuzzers[@]}"; do
    read -r name _ <<<"$line"
    if [ $# -eq 0 ] || [[ " $* " == *" $name "* ]]; then chosen+=("$line"); fi
done
if [ ${#chosen[@]} -eq 0 ]; then
    echo "fuzz: no fuzzer named $*" >&2
    exit 2
fi
share=$(((seconds + ${#chosen[@]} - 1) / ${#chosen[@]}))

targets=()
for line in "${chosen[@]}"; do
    read -r name _ <<<"$line"
    targets+=("tb_fuzz_$name")
done
cmake --preset fuzz >/dev/null
cmake --build build/fuzz --target "${targets[@]}" -j"${TB_JOBS:-2}"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

status=0
total=0
for line in "${chosen[@]}"; do
    read -r name max_len dict seeds <<<"$line"
    log=build/fuzz/$name.log
    options=(-max_len="$max_len" -timeout=10 -print_final_stats=1 -artifact_prefix=build/fuzz/"$name"-)
    [ "$dict" = "-" ] || options+=(-dict="$dict")
    if [ -n "$runs" ]; then
        found=build/fuzz/found-$name
        options+=(-runs="$runs")
    else
        found=$scratch/$name
        options+=(-max_total_time="$share")
    fi
    mkdir -p "$found"
    # New inputs go to the first folder; the seed corpus in the repository stays as it is.
    if build/fuzz/bin/tb_fuzz_"$name" "${options[@]}" "$found" "$seeds" >"$log" 2>&1; then
        executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        added=$(sed -n 's/^stat::new_units_added: *//p' "$log")
        echo "fuzz: $name: ${executed:-?} inputs, ${added:-?} new, no fault"
        total=$((total + ${executed:-0}))
    else
        tail -n 40 "$log"
        echo "fuzz: the $name fuzzer found a fault (see $log)" >&2
        status=1
    fi
done
echo "fuzz: $total inputs in all"
exit $status
