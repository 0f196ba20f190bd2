#!/usr/bin/env bash
# Start-up benchmarks of Pantrova, under a virtual X display (Xvfb):
#  1. time from process start until the splash is painted (goal: under 250 ms),
#     with bench/bench_startup.cpp;
#  2. peak resident memory of PV once the main menu is up (goal: under 40 MB),
#     read from /proc (VmHWM) while PV runs from a copy of its application folder.
# The display gets a session bus, as every desktop session has: without one, the
# first window shown makes Qt's accessibility bridge start a bus of its own
# (dbus-launch --autolaunch), and start-up would wait for that.
# Not part of CI. Usage: scripts/bench-startup.sh [build folder, default build-bench]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DPV_BENCH=ON -DPV_HELP=OFF >/dev/null
cmake --build "$build" -j2 --target PV bench_startup >/dev/null

# A free display number.
display=90
while [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
work=$(mktemp -d)
cleanup() {
    [[ -n ${pv:-} ]] && kill "$pv" 2>/dev/null || true
    [[ -n ${bus:-} ]] && kill "$bus" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 50); do [[ -e /tmp/.X11-unix/X$display ]] && break; sleep 0.1; done
export DISPLAY=:$display
unset QT_QPA_PLATFORM
{ read -r DBUS_SESSION_BUS_ADDRESS; read -r bus; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS

echo "== Time from process start until the splash is painted"
"$build/bench/bench_startup" --benchmark_filter=ProcessStart --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true
"$build/bench/bench_startup" --benchmark_filter=LoadAndPaint

echo "== Peak resident memory of PV at the main menu"
# A copy of the application folder with the first-run marker, so that start-up
# goes straight from the splash to the main menu.
cp -r "$build/app" "$work/app"
: >"$work/app/PV.ini"
"$work/app/PV" >/dev/null 2>&1 &
pv=$!
# The splash takes 2.5 s; then give the main menu a moment to settle.
sleep 4
if command -v xwininfo >/dev/null; then
    xwininfo -root -tree | grep -q '"Main Menu:"' || { echo "the main menu did not appear" >&2; exit 1; }
fi
peak=$(awk '/^VmHWM:/ {print $2}' "/proc/$pv/status")
echo "PV peak RSS at the main menu: $((peak / 1024)) MB ($peak kB)"
