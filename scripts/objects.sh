#!/usr/bin/env bash
# Watches the running bar under Wine for --minutes (default 10): in view, the demo player
# playing a list of four-second tracks, so the title changes every few seconds. Every --every
# seconds (default 30) one line: GDI and USER objects (GetGuiResources, 0 where Wine does not
# count them), handles, working set and private memory from the system, and the resident size
# from /proc. Ends with "flat" when the last sample's objects and handles equal the first's and
# its memory grew by less than a megabyte, "GREW" otherwise (exit status 1). Build the windows
# preset first.
#
#   scripts/objects.sh [--minutes N] [--every S]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
minutes=10
every=30
while [ $# -gt 0 ]; do
    case $1 in
        --minutes) minutes=$2 && shift 2 ;;
        --every) every=$2 && shift 2 ;;
        *) echo "usage: scripts/objects.sh [--minutes N] [--every S]" >&2 && exit 2 ;;
    esac
done
bin=build/windows/bin
for exe in tunebalk demoplayer bar_bench; do
    [ -x "$bin/$exe.exe" ] || { echo "objects.sh: $bin/$exe.exe is missing (build the windows preset)" >&2; exit 1; }
done
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
tb_wine_session

started=()
stop_all() {
    local p
    for p in "${started[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${started[@]}"; do wait "$p" 2>/dev/null || true; done
}
tb_at_exit stop_all
list=$(mktemp --suffix=.txt)
tb_at_exit "rm -f $list"
for ((i = 0; i < 400; i++)); do printf 'Artist %d - Song number %d\t4\r\n' "$i" "$i"; done >"$list"

wine "$bin/demoplayer.exe" --play --playlist "$(winepath -w "$list")" >/dev/null 2>&1 &
started+=($!)
sleep 2
wine "$bin/tunebalk.exe" >/dev/null 2>&1 &
bar=$!
started+=("$bar")
for ((i = 0; i < 100; i++)); do
    xdotool search --name '^Tunebalk4$' >/dev/null 2>&1 && break
    sleep 0.1
done
read -r sw _ < <(xdotool getdisplaygeometry)
xdotool mousemove $((sw / 2)) 0
sleep 5

out=$(mktemp)
tb_at_exit "rm -f $out"
# bar_bench prints "seconds gdi user handles working_set_kb private_kb"; the resident size of
# the bar's Linux process is added to each line.
wine "$bin/bar_bench.exe" watch "$minutes" --every "$every" 2>&1 | tr -d '\r' |
    while read -r line; do
        case $line in
            seconds*) echo "$line rss_kb" ;;
            [0-9]*) echo "$line $(awk '/^VmRSS/ {print $2}' "/proc/$bar/status" 2>/dev/null)" ;;
            *) echo "$line" ;;
        esac
    done | tee "$out"
first=$(grep -E '^[0-9]' "$out" | head -1)
last=$(grep -E '^[0-9]' "$out" | tail -1)
[ -n "$first" ] || { echo "objects.sh: no samples" >&2; exit 1; }
verdict=$(awk -v a="$first" -v b="$last" 'BEGIN {
    split(a, x); split(b, y)
    same = x[2] == y[2] && x[3] == y[3] && x[4] == y[4]
    grew = y[6] - x[6] > 1024 || y[7] - x[7] > 1024
    print (same && !grew) ? "flat" : "GREW"
}')
echo "objects.sh: $verdict (first: $first; last: $last)"
[ "$verdict" = flat ]
