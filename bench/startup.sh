#!/usr/bin/env bash
# Start-up time and resident memory of qlconvert against a bare Qt window, under one Xvfb.
# Builds what is stale in build/ (Release), then starts the bare window and qlconvert (on
# the default data, in a temporary data folder) alternately, RUNS times each (default 10).
# For each start: milliseconds from exec until the window is mapped, and VmRSS one second
# later. Prints each median and the ratio qlconvert / bare.
#
#   bash bench/startup.sh [RUNS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
runs="${1:-10}"
build="${QLC_BENCH_BUILD:-$QLC_ROOT/build}"

bash "$QLC_ROOT/scripts/deps.sh" "${QLC_BUILD_PACKAGES[@]}" xvfb libx11-dev
qlc_build "$build" Release
cmake --build "$build" --target qlconvert bare_window map_wait >/dev/null

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A free display number: the first without a lock file.
display=99
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  sleep 0.05
done
[ -e "/tmp/.X11-unix/X$display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export QT_QPA_PLATFORM=xcb
# A session has its runtime folder; without one Qt warns on every start.
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"

mkdir -p "$work/data"
cp "$QLC_ROOT/data/type.txt" "$QLC_ROOT/data/convert.txt" "$work/data/"
bare="$build/bench/bare_window"
conv="$build/src/qlconvert"
wait_map="$build/bench/map_wait"

# One start; appends "ms rss_kb anon_kb" to the named file.
measure() {
  local out="$1"
  shift
  (cd "$work/data" && "$wait_map" --settle 1 "$@") >>"$out"
}

# One unmeasured start of each first, so the file cache is warm for both.
measure "$work/warm" "$bare"
measure "$work/warm" "$conv"
for i in $(seq "$runs"); do
  measure "$work/bare" "$bare"
  measure "$work/conv" "$conv"
  printf 'run %2d: bare %s   qlconvert %s\n' "$i" "$(tail -n1 "$work/bare")" \
    "$(tail -n1 "$work/conv")"
done

median() {  # column of a file
  awk -v c="$2" '{ print $c }' "$1" | sort -n |
    awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
bare_ms=$(median "$work/bare" 1)
conv_ms=$(median "$work/conv" 1)
bare_kb=$(median "$work/bare" 2)
conv_kb=$(median "$work/conv" 2)
bare_anon=$(median "$work/bare" 3)
conv_anon=$(median "$work/conv" 3)
mb() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
mb_diff() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", (a - b) / 1024 }'; }
echo "load: $(uptime | sed 's/.*load average: //')"
printf 'start-up until mapped, median of %d: bare %.1f ms, qlconvert %.1f ms, ratio %.2f\n' \
  "$runs" "$bare_ms" "$conv_ms" "$(awk -v a="$conv_ms" -v b="$bare_ms" 'BEGIN { print a / b }')"
echo "resident memory 1 s later, median: bare $(mb "$bare_kb") MB, qlconvert $(mb "$conv_kb") MB," \
  "difference $(mb_diff "$conv_kb" "$bare_kb") MB"
echo "  of which private (RssAnon): bare $(mb "$bare_anon") MB, qlconvert $(mb "$conv_anon") MB," \
  "difference $(mb_diff "$conv_anon" "$bare_anon") MB"
