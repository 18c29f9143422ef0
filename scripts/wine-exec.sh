#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's Wine settings; CTest uses it as the
# cross-compiling emulator. Without a DISPLAY it brings up (and ends) a virtual screen itself.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh" || exit 125

# Wine's helper processes (explorer, services) start with the first program of a session and
# inherit its output; were that CTest's pipe, CTest would wait for them to end. So the
# program writes to files, streamed back while it runs.
out=$(mktemp)
err=$(mktemp)
tb_at_exit "rm -f '$out' '$err'"
wine "$@" >"$out" 2>"$err" &
pid=$!
trap 'kill $pid 2>/dev/null; exit 143' TERM INT
tail -n +1 -s 0.05 -f --pid=$pid "$out"
wait $pid
rc=$?
cat "$err" >&2
exit $rc
