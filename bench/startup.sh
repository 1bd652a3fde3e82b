#!/usr/bin/env bash
# Start-up of qlconvert against its floor, under one Xvfb with a session bus of its own: first
# with no window manager, then under openbox.
#
#   bash bench/startup.sh [RUNS]
#
# Programs, started in turn RUNS times each (default 15) after one unmeasured start each:
#   bare       an empty Qt window of the main window's size (for reference)
#   floor      the main window's widgets with nothing behind them (bench/floor_window.cpp)
#   default    qlconvert on data/
#   32766      qlconvert on the 32,766 records bench_qlconvert generates
# For each start, map_wait gives the time from exec until the window is mapped, until its
# first frame is drawn (X Damage: the drawn area first covers the whole window), the
# processor time and page faults by then, the resident memory one second after that frame,
# and the pixels that changed in that second. Prints the medians, the ratios to the floor and
# the load average before and after each run. On a busy machine the processor time is the
# figure to trust: the wall clock then includes waiting for a core.
# QLC_BENCH_BUILD names another Release build folder instead of build/; QLC_BENCH_SHOTS
# names a folder where each program's first frame is written as NAME.ppm (NAME-openbox.ppm
# under openbox). QLC_BENCH_TRAY=1 runs an XEmbed tray (trayer) too and adds how long after
# its first frame qlconvert's icon was in the tray.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
runs="${1:-15}"
build="${QLC_BENCH_BUILD:-$QLC_ROOT/build}"

bash "$QLC_ROOT/scripts/deps.sh" "${QLC_BUILD_PACKAGES[@]}" xvfb libx11-dev libxdamage-dev \
  dbus-daemon trayer x11-utils openbox
targets=(qlconvert floor_window bare_window map_wait bench_qlconvert)
if [ "$build" = "$(qlc_dir release)" ]; then qlc_build release "${targets[@]}"; else cmake --build "$build" --target "${targets[@]}"; fi >/dev/null

work=$(mktemp -d)
xvfb_pid=""
bus_pid=""
tray_pid=""
wm_pid=""
cleanup() {
  for p in "$tray_pid" "$wm_pid" "$bus_pid" "$xvfb_pid"; do
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

# One start; appends map_wait's numbers to the file named.
measure() {
  local name="$1" out="$2"
  shift 2
  (cd "${folder[$name]}" && "$build/bench/map_wait" --settle 1 "$@" "${program[$name]}") >>"$out"
}

median() {  # FILE COLUMN
  awk -v c="$2" '{ print $c }' "$1" | sort -g |
    awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
maximum() { awk -v c="$2" 'BEGIN { m = 0 } $c > m { m = $c } END { print m }' "$1"; }

# RUN LABEL: RUNS alternated starts of every program, then their medians (columns of map_wait:
# 1 mapped, 2 painted, 3 RSS, 4 anon, 5 changed, 6 docked, 7 CPU, 8 page faults).
measure_all() {
  local run="$1" label="$2" suffix="" out="$work/$1"
  [ "$run" = openbox ] && suffix="-openbox"
  mkdir -p "$out"
  local load_before load_after
  load_before=$(uptime | sed 's/.*load average: //')
  # One unmeasured start of each first, so the file cache is warm for all.
  for name in "${names[@]}"; do
    shot=()
    [ -n "${QLC_BENCH_SHOTS:-}" ] && mkdir -p "$QLC_BENCH_SHOTS" &&
      shot=(--shot "$QLC_BENCH_SHOTS/$name$suffix.ppm")
    measure "$name" "$out/warm" "${shot[@]}"
  done
  for i in $(seq "$runs"); do
    line="$run $i:"
    for name in "${names[@]}"; do
      measure "$name" "$out/times.$name"
      line+="  $name $(tail -n1 "$out/times.$name" | cut -d' ' -f1,2)"
    done
    echo "$line"
  done
  load_after=$(uptime | sed 's/.*load average: //')

  local f="$out/times.floor"
  echo
  echo "$label, medians of $runs starts; load average before: $load_before; after: $load_after"
  printf '%-20s %8s %8s %7s %7s %7s %7s %7s %7s %7s %8s %7s\n' program 'start ms' 'paint ms' \
    'CPU ms' faults 'RSS MiB' start/f paint/f CPU/f faults-f 'RSS-f MiB' changed
  for name in "${names[@]}"; do
    local t="$out/times.$name" shown="$name"
    [ "$name" = default ] && shown="qlconvert ($default_records)"
    [ "$name" = 32766 ] && shown="qlconvert (32766)"
    awk -v l="$shown" -v ms="$(median "$t" 1)" -v p="$(median "$t" 2)" -v kb="$(median "$t" 3)" \
      -v cpu="$(median "$t" 7)" -v pf="$(median "$t" 8)" -v fms="$(median "$f" 1)" \
      -v fp="$(median "$f" 2)" -v fkb="$(median "$f" 3)" -v fcpu="$(median "$f" 7)" \
      -v fpf="$(median "$f" 8)" -v ch="$(maximum "$t" 5)" 'BEGIN {
        printf "%-20s %8.1f %8.1f %7.1f %7d %7.1f %7.2f %7.2f %7.2f %+7d %+8.1f %7d\n", l, ms, p,
          cpu, pf, kb / 1024, ms / fms, p / fp, cpu / fcpu, pf - fpf, (kb - fkb) / 1024, ch }'
  done
  echo "(changed: most pixels of the window that differ between its first frame and one" \
    "second later, over all starts)"
  if [ -n "$tray_pid" ]; then
    for name in default 32766; do
      echo "qlconvert ($name): its icon was in the tray $(awk '{ print $6 - $2 }' \
        "$out/times.$name" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')" \
        "ms after its first frame (median)"
    done
  fi
  echo
}

measure_all xvfb "Xvfb, no window manager"
# The same under a window manager: it takes the window into its frame before mapping it.
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_until wm_up || { echo "openbox did not start" >&2; exit 1; }
measure_all openbox "Xvfb and openbox"
