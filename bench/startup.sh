#!/usr/bin/env bash
# Start-up of qlconvert against its floor, under one Xvfb with a session bus of its own.
#
#   bash bench/startup.sh [RUNS]
#
# Programs, started in turn RUNS times each (default 10) after one unmeasured start each:
#   bare       an empty Qt window of the main window's size (for reference)
#   floor      the main window's widgets with nothing behind them (bench/floor_window.cpp)
#   default    qlconvert on data/
#   32766      qlconvert on the 32,766 records bench_qlconvert generates
# For each start, map_wait gives the time from exec until the window is mapped, until its
# first frame is drawn (X Damage: the drawn area first covers the whole window), the
# resident memory one second after that frame, and the pixels that changed in that second.
# Prints the medians, the ratios to the floor and the load average before and after.
# QLC_BENCH_BUILD names another Release build folder instead of build/; QLC_BENCH_SHOTS
# names a folder where each program's first frame is written as NAME.ppm. QLC_BENCH_TRAY=1
# runs an XEmbed tray (trayer) too and adds how long after its first frame qlconvert's icon
# was in the tray.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
runs="${1:-10}"
build="${QLC_BENCH_BUILD:-$QLC_ROOT/build}"

bash "$QLC_ROOT/scripts/deps.sh" "${QLC_BUILD_PACKAGES[@]}" xvfb libx11-dev libxdamage-dev \
  dbus-daemon trayer x11-utils
qlc_build "$build" Release qlconvert floor_window bare_window map_wait bench_qlconvert >/dev/null

work=$(mktemp -d)
xvfb_pid=""
bus_pid=""
tray_pid=""
cleanup() {
  for p in "$tray_pid" "$bus_pid" "$xvfb_pid"; do
    if [ -n "$p" ]; then
      kill "$p" 2>/dev/null || true
      wait "$p" 2>/dev/null || true
    fi
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Waits up to 5 s for a command to succeed.
wait_until() {
  for _ in $(seq 100); do
    "$@" && return 0
    sleep 0.05
  done
  return 1
}

# A free display number: the first without a lock file.
display=99
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
wait_until [ -e "/tmp/.X11-unix/X$display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export QT_QPA_PLATFORM=xcb
# A desktop session has its runtime folder and its session bus; without them Qt warns and
# tries to start a bus on every start.
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
dbus-daemon --session --nofork --address="unix:path=$work/runtime/bus" --nopidfile \
  >"$work/bus.log" 2>&1 &
bus_pid=$!
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/runtime/bus"
wait_until [ -S "$work/runtime/bus" ] || true

if [ "${QLC_BENCH_TRAY:-0}" = 1 ]; then
  trayer --edge bottom --align right --widthtype request --height 24 --SetDockType true \
    >"$work/trayer.log" 2>&1 &
  tray_pid=$!
  trayer_up() { xwininfo -root -tree | grep -q '("panel" "trayer")'; }
  wait_until trayer_up || true
fi

mkdir -p "$work/default" "$work/32766"
cp "$QLC_ROOT/data/type.txt" "$QLC_ROOT/data/convert.txt" "$work/default/"
"$build/bench/bench_qlconvert" --write-data "$work/32766"
default_records=$(grep -c . "$QLC_ROOT/data/convert.txt")

names=(bare floor default 32766)
declare -A program=([bare]="$build/bench/bare_window" [floor]="$build/bench/floor_window"
  [default]="$build/src/qlconvert" [32766]="$build/src/qlconvert")
declare -A folder=([bare]="$work/default" [floor]="$work/default" [default]="$work/default"
  [32766]="$work/32766")

# One start; appends "mapped_ms painted_ms rss_kb anon_kb changed_pixels" to the file named.
measure() {
  local name="$1" out="$2"
  shift 2
  (cd "${folder[$name]}" && "$build/bench/map_wait" --settle 1 "$@" "${program[$name]}") >>"$out"
}

load_before=$(uptime | sed 's/.*load average: //')
# One unmeasured start of each first, so the file cache is warm for all.
for name in "${names[@]}"; do
  shot=()
  [ -n "${QLC_BENCH_SHOTS:-}" ] && mkdir -p "$QLC_BENCH_SHOTS" &&
    shot=(--shot "$QLC_BENCH_SHOTS/$name.ppm")
  measure "$name" "$work/warm" "${shot[@]}"
done
for i in $(seq "$runs"); do
  line="run $i:"
  for name in "${names[@]}"; do
    measure "$name" "$work/times.$name"
    line+="  $name $(tail -n1 "$work/times.$name" | cut -d' ' -f1,2)"
  done
  echo "$line"
done
load_after=$(uptime | sed 's/.*load average: //')

median() {  # FILE COLUMN
  awk -v c="$2" '{ print $c }' "$1" | sort -g |
    awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
maximum() { awk -v c="$2" 'BEGIN { m = 0 } $c > m { m = $c } END { print m }' "$1"; }

floor_ms=$(median "$work/times.floor" 1)
floor_paint=$(median "$work/times.floor" 2)
floor_kb=$(median "$work/times.floor" 3)
echo
echo "Xvfb, no window manager, medians of $runs starts; load average before: $load_before;" \
  "after: $load_after"
printf '%-22s %9s %9s %9s %9s %7s %7s %9s %8s\n' program 'start ms' 'paint ms' 'RSS MiB' \
  'anon MiB' start/f paint/f 'RSS-f MiB' 'changed'
for name in "${names[@]}"; do
  ms=$(median "$work/times.$name" 1)
  paint=$(median "$work/times.$name" 2)
  kb=$(median "$work/times.$name" 3)
  anon=$(median "$work/times.$name" 4)
  label="$name"
  [ "$name" = default ] && label="qlconvert ($default_records)"
  [ "$name" = 32766 ] && label="qlconvert (32766)"
  awk -v l="$label" -v ms="$ms" -v p="$paint" -v kb="$kb" -v an="$anon" -v fms="$floor_ms" \
    -v fp="$floor_paint" -v fkb="$floor_kb" -v ch="$(maximum "$work/times.$name" 5)" 'BEGIN {
      printf "%-22s %9.1f %9.1f %9.1f %9.1f %7.2f %7.2f %+9.1f %8d\n", l, ms, p, kb / 1024,
        an / 1024, ms / fms, p / fp, (kb - fkb) / 1024, ch }'
done
echo "(changed: most pixels of the window that differ between its first frame and one" \
  "second later, over all starts)"
if [ -n "$tray_pid" ]; then
  for name in default 32766; do
    echo "qlconvert ($name): its icon was in the tray $(awk '{ print $6 - $2 }' \
      "$work/times.$name" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')" \
      "ms after its first frame (median)"
  done
fi
