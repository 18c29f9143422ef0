#!/usr/bin/env bash
# Builds the registry fuzzer (clang, libFuzzer, ASan + UBSan) and runs it for a while.
# Usage: scripts/fuzz.sh [seconds]   (default 60). Fails when the fuzzer finds a fault; the input
# that caused it is left in build/fuzz/ and the log in build/fuzz/fuzz.log.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset fuzz >/dev/null
cmake --build build/fuzz --target tb_fuzz_registry -j2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# New inputs go to the scratch folder; the seed corpus in the repository stays as it is.
if build/fuzz/bin/tb_fuzz_registry -max_total_time="$seconds" -print_final_stats=1 \
    -max_len=1024 -dict=tests/fuzz/regedit.dict -artifact_prefix=build/fuzz/ "$work" tests/fuzz/corpus \
    >build/fuzz/fuzz.log 2>&1; then
    grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' build/fuzz/fuzz.log
else
    tail -n 60 build/fuzz/fuzz.log
    echo "fuzz: the registry fuzzer found a fault (see build/fuzz/fuzz.log)" >&2
    exit 1
fi
