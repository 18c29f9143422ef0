#!/usr/bin/env bash
# Builds the fuzzers (clang, libFuzzer, ASan + UBSan) and runs each for its share of the time:
# the registry-file fuzzer and the now-playing template fuzzer, half each.
# Usage: scripts/fuzz.sh [seconds]   (default 60, in all). Fails when a fuzzer finds a fault; the
# input that caused it is left in build/fuzz/ and the log in build/fuzz/<fuzzer>.log.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset fuzz >/dev/null
cmake --build build/fuzz --target tb_fuzz_registry tb_fuzz_nowplaying -j2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
share=$(((seconds + 1) / 2))

# fuzz NAME MAX_LEN DICT CORPUS: new inputs go to a scratch folder; the seed corpus in the
# repository stays as it is.
fuzz() {
    local name=$1 max_len=$2 dict=$3 corpus=$4 log=build/fuzz/$1.log
    mkdir -p "$work/$name"
    if build/fuzz/bin/tb_fuzz_"$name" -max_total_time="$share" -print_final_stats=1 \
        -max_len="$max_len" -dict="$dict" -artifact_prefix=build/fuzz/"$name"- \
        "$work/$name" "$corpus" >"$log" 2>&1; then
        echo "fuzz: $name"
        grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' "$log"
    else
        tail -n 60 "$log"
        echo "fuzz: the $name fuzzer found a fault (see $log)" >&2
        return 1
    fi
}

status=0
fuzz registry 1024 tests/fuzz/regedit.dict tests/fuzz/corpus || status=1
fuzz nowplaying 512 tests/fuzz/nowplaying.dict tests/fuzz/corpus-nowplaying || status=1
exit $status
