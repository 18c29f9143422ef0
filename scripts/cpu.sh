#!/usr/bin/env bash
# The CPU the running bar takes under Wine, beside its floors measured in the same run:
#   player     the demo player alone (what the Wine server spends on it is in every line)
#   idle       an empty topmost window with a message loop
#   raw-sync   the raw Win32 calls of one synchronisation a second
#   raw-dock   the raw Win32 calls of the hidden dock's checks, five a second
#   shown      the bar in view, the player playing a long title that ticks
#   hidden     the bar parked at the edge, the Messenger feature off
#   hidden-10k the same with a 10,000-entry playlist, refreshed once a minute
# Each is measured for --seconds (default 60) from /proc: the program's own CPU and the Wine
# server's, as a percentage of one core. Build the windows preset first. Other load on the
# machine disturbs the absolute figures more than the ratios to the floors.
#
#   scripts/cpu.sh [--seconds N]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=60
while [ $# -gt 0 ]; do
    case $1 in
        --seconds) seconds=$2 && shift 2 ;;
        *) echo "usage: scripts/cpu.sh [--seconds N]" >&2 && exit 2 ;;
    esac
done
bin=build/windows/bin
for exe in tunebalk demoplayer bar_bench; do
    [ -x "$bin/$exe.exe" ] || { echo "cpu.sh: $bin/$exe.exe is missing (build the windows preset)" >&2; exit 1; }
done
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
tb_wine_session

hz=$(getconf CLK_TCK)
# Clock ticks of user and system time a process has used.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
wineserver_pid() {
    local p
    for p in $(pgrep wineserver); do
        if tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
            echo "$p" && return
        fi
    done
}
server=$(wineserver_pid)
# Prints one line: the name, the process's CPU and the Wine server's, over $seconds.
measure() {
    local name=$1 pid=$2 p0 s0 t0 p1 s1 t1
    p0=$(cpu_ticks "$pid") s0=$(cpu_ticks "$server") t0=$(date +%s.%N)
    sleep "$seconds"
    p1=$(cpu_ticks "$pid") s1=$(cpu_ticks "$server") t1=$(date +%s.%N)
    awk -v n="$name" -v p=$((p1 - p0)) -v s=$((s1 - s0)) -v t0="$t0" -v t1="$t1" -v hz="$hz" \
        'BEGIN { e = t1 - t0; printf "%-11s program %6.3f %%  wine server %6.3f %%  (%.0f s)\n", n, 100 * p / hz / e, 100 * s / hz / e, e }'
}
# Starts a Windows program in the background; its pid is in $last.
started=()
last=
start() {
    wine "$@" >/dev/null 2>&1 &
    last=$!
    started+=("$last")
}
stop_all() {
    local p
    for p in "${started[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${started[@]}"; do wait "$p" 2>/dev/null || true; done
    started=()
}
tb_at_exit stop_all
read -r sw sh < <(xdotool getdisplaygeometry)
pointer_in() { xdotool mousemove $((sw / 2)) 0; }
pointer_away() { xdotool mousemove 5 $((sh - 5)); }
wait_for_bar() {
    local i
    for ((i = 0; i < 100; i++)); do
        xdotool search --name '^Tunebalk4$' >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "cpu.sh: the bar did not come up" >&2
    return 1
}
wine reg delete 'HKCU\Software\Oxalmo\Tunebalk' /v msnplugin /f >/dev/null 2>&1 || true

echo "load before: $(uptime)"
pointer_away
start "$bin/demoplayer.exe" --play --title-length 200
sleep 2
measure player "$last"
start "$bin/bar_bench.exe" idle-window $((seconds + 5))
sleep 2
measure idle "$last"
wait "$last" 2>/dev/null || true
start "$bin/bar_bench.exe" raw-sync $((seconds + 5))
sleep 2
measure raw-sync "$last"
wait "$last" 2>/dev/null || true
start "$bin/bar_bench.exe" raw-dock $((seconds + 5))
sleep 2
measure raw-dock "$last"
wait "$last" 2>/dev/null || true

start "$bin/tunebalk.exe"
bar=$last
wait_for_bar
pointer_in
sleep 3
measure shown "$bar"
pointer_away
sleep 3
measure hidden "$bar"
stop_all

list=$(mktemp --suffix=.txt)
tb_at_exit "rm -f $list"
for ((i = 0; i < 10000; i++)); do printf 'Artist %d - A song of some length, number %d\t200\r\n' "$i" "$i"; done >"$list"
start "$bin/demoplayer.exe" --play --playlist "$(winepath -w "$list")"
sleep 2
start "$bin/tunebalk.exe"
bar=$last
wait_for_bar
sleep 5 # its first refresh
measure hidden-10k "$bar"
stop_all
echo "load after: $(uptime)"
