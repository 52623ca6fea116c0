#!/bin/sh
# Makes docs/screenshot.png: runs the saver under its own Xvfb screen, lets
# the solid drift for half a second (about 30 frames at 60 Hz: near, and
# already turned) and grabs the whole screen.
#
#   scripts/screenshot.sh [path/to/vyn] [output.png]
#
# Needs Xvfb, xwd (x11-apps) and xwdtopnm + pnmtopng (netpbm).
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
vyn=${1:-$here/build/release/vyn}
output=${2:-$here/docs/screenshot.png}
geometry=${VYN_SCREENSHOT_GEOMETRY:-1024x768x24}
settle=${VYN_SCREENSHOT_SECONDS:-0.5}

for tool in Xvfb xwd xwdtopnm pnmtopng; do
  command -v "$tool" >/dev/null 2>&1 || {
    echo "screenshot.sh: $tool is missing (apt-get install xvfb x11-apps netpbm)" >&2
    exit 1
  }
done
[ -x "$vyn" ] || { echo "screenshot.sh: no vyn at $vyn (build first)" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid=
vyn_pid=
cleanup() {
  [ -n "$vyn_pid" ] && kill "$vyn_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

# Xvfb picks a free display number and writes it to the pipe.
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp 3>"$work/displayfd" 2>"$work/xvfb.log" &
xvfb_pid=$!
read -r number <"$work/displayfd"
display=":$number"

# A private runtime and settings folder: no settings file, so the run shows
# the defaults (the shaded white solid from the shipped picture).
mkdir -p "$work/runtime" "$work/windows"
chmod 700 "$work/runtime"
DISPLAY=$display XDG_RUNTIME_DIR=$work/runtime VYN_WINDOWS_DIR=$work/windows \
  "$vyn" /s 2>"$work/vyn.log" &
vyn_pid=$!

sleep "$settle"
if ! kill -0 "$vyn_pid" 2>/dev/null; then
  echo "screenshot.sh: vyn ended early:" >&2
  cat "$work/vyn.log" >&2
  exit 1
fi

mkdir -p "$(dirname "$output")"
xwd -root -silent -display "$display" | xwdtopnm 2>/dev/null | pnmtopng >"$output.tmp"
mv "$output.tmp" "$output"
kill -TERM "$vyn_pid"
wait "$vyn_pid" || true
vyn_pid=
echo "$output"
