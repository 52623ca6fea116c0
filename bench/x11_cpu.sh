#!/bin/sh
# CPU use of the saver on an X11 display: starts Xvfb at 1920x1080x24, runs
# `vyn /s` with the default picture for a while and reports how much of one
# core it used (user + system time from /proc/<pid>/stat over wall time),
# and the X server's share beside it.
#
# usage: bench/x11_cpu.sh [path/to/vyn] [seconds]
#   VYN_BENCH_DISPLAY  the X display number to use (default :97)
set -eu

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
vyn=${1:-"$source_dir/build/bench/vyn"}
seconds=${2:-10}
display=${VYN_BENCH_DISPLAY:-:97}
picture="$source_dir/data/vynFile/circle.BMP"

[ -x "$vyn" ] || { echo "x11_cpu.sh: no vyn at $vyn" >&2; exit 2; }
[ -f "$picture" ] || { echo "x11_cpu.sh: no picture at $picture" >&2; exit 2; }

work=$(mktemp -d)
xvfb_pid=
vyn_pid=
finish() {
  [ -n "$vyn_pid" ] && kill "$vyn_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT INT TERM

printf '[SS_SECTION]\nSPEED=5\nSHADE=0\n[SETTING]\nFILENAME=%s\n' "$picture" > "$work/vyn.ini"

Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp -noreset > "$work/xvfb.log" 2>&1 &
xvfb_pid=$!
# Wait for the server to take connections.
tries=0
until DISPLAY=$display xdpyinfo > /dev/null 2>&1; do
  tries=$((tries + 1))
  [ $tries -lt 50 ] || { echo "x11_cpu.sh: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 2; }
  sleep 0.1
done
if DISPLAY=$display xdpyinfo -queryExtensions 2>/dev/null | grep -q "Present"; then
  present="the Present extension"
else
  present="no Present extension (the window layer's clock paces)"
fi

ticks=$(getconf CLK_TCK)
# utime + stime of a process, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
now_ms() { date +%s%3N; }

DISPLAY=$display VYN_DISPLAY=x11 VYN_WINDOWS_DIR=$work "$vyn" /s &
vyn_pid=$!
# Leave the start-up out: measure from one second in.
sleep 1
kill -0 "$vyn_pid" 2>/dev/null || { echo "x11_cpu.sh: vyn ended early" >&2; exit 1; }
vyn_start=$(cpu_ticks "$vyn_pid")
xvfb_start=$(cpu_ticks "$xvfb_pid")
wall_start=$(now_ms)
sleep "$seconds"
vyn_end=$(cpu_ticks "$vyn_pid")
xvfb_end=$(cpu_ticks "$xvfb_pid")
wall_end=$(now_ms)

# A key press ends the run the way a user would.
DISPLAY=$display xdotool key space > /dev/null 2>&1 || true
for _ in 1 2 3 4 5 6 7 8 9 10; do
  kill -0 "$vyn_pid" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$vyn_pid" 2>/dev/null; then
  echo "x11_cpu.sh: vyn did not end on a key press" >&2
  kill "$vyn_pid" 2>/dev/null || true
fi
wait "$vyn_pid" 2>/dev/null || true
vyn_pid=

awk -v vs="$vyn_start" -v ve="$vyn_end" -v xs="$xvfb_start" -v xe="$xvfb_end" \
    -v ws="$wall_start" -v we="$wall_end" -v hz="$ticks" -v present="$present" 'BEGIN {
  wall = (we - ws) / 1000.0
  printf "vyn /s on Xvfb 1920x1080x24, default picture, %.1f s, %s\n", wall, present
  printf "vyn:  %.1f%% of one core\n", 100.0 * (ve - vs) / hz / wall
  printf "Xvfb: %.1f%% of one core\n", 100.0 * (xe - xs) / hz / wall
}'
