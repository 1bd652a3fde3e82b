#!/usr/bin/env bash
# Builds what is stale and runs every test headless; ends with CTest's summary of the main
# suite and fails if any step failed. Usage: test.sh [--quick]
#
# The full run, in three build folders (presets release, asan, fuzz; one line of wall time
# each step):
#   1. configure what is not configured, then build the program (release preset);
#   2. start the main suite (ctest in build/) in the background: the tray runs, which mostly
#      wait for the desktop and need only the program, side by side from the start; beside
#      them the install, layer and cross-compiler checks and build_bench, which builds the
#      benchmarks, one per core (resource "cpus");
#   3. meanwhile build the Qt Test programs under AddressSanitizer and UBSan (asan) and the
#      libFuzzer targets (fuzz), run each fuzz target for a fixed number of inputs, then the
#      Qt Test programs under the sanitizers: their one run in the full run (the quick loop
#      runs them in build/);
#   4. wait for the main suite and print its output and summary.
# --quick builds only the test programs of build/ and runs the fast tests (label quick): the
# loop while changing code. The full run is what CI runs.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
quick=""
case "${1:-}" in
  --quick) quick=1 ;;
  "") ;;
  *) echo "usage: $0 [--quick]" >&2; exit 2 ;;
esac
cores="$(nproc)"
export QT_QPA_PLATFORM=offscreen
cd "$QLC_ROOT"

if [ -n "$quick" ]; then
  bash scripts/deps.sh "${QLC_BUILD_PACKAGES[@]}"
  qlc_build release qlc_tests
  cd build && exec ctest -L quick --output-on-failure -j "$cores"
fi
bash scripts/deps.sh "${QLC_BUILD_PACKAGES[@]}" xvfb trayer xauth xdotool x11-utils openbox xfwm4 dbus python3-gi weston qt6-wayland at-spi2-core python3-pyatspi g++-mingw-w64-x86-64 desktop-file-utils appstream dpkg-dev clang libclang-rt-14-dev llvm units

failed=() started=$SECONDS
# step NAME COMMAND...: runs a step, prints its wall time and the load, and notes a failure.
step() {
  local name="$1" since=$SECONDS status=0
  shift
  "$@" || status=$?
  echo "== $name: $((SECONDS - since)) s, load $(cut -d' ' -f1-3 /proc/loadavg)$([ $status -eq 0 ] || echo ", FAILED ($status)")"
  [ $status -eq 0 ] || failed+=("$name")
}

configure_all() { qlc_configure release && { qlc_configure asan & qlc_configure fuzz & wait -n && wait -n; }; }
step "configure" configure_all
step "program build" qlc_build release qlconvert
[ ${#failed[@]} -eq 0 ] || { echo "Stopped: ${failed[*]} failed." >&2; exit 1; }

# The main suite: all but the Qt Test programs, which run under the sanitizers below (so their
# build here, and build_tests, are left out). ctest counts each test that is not labelled
# waiting as one of the cores' slots (resource "cpus"), and lets the nine waiting ones run
# beside them.
log="$QLC_ROOT/build/Testing/main-suite.log" spec="$QLC_ROOT/build/Testing/cpus.json"
mkdir -p "$QLC_ROOT/build/Testing"
printf '{"version": {"major": 1, "minor": 0}, "local": [{"cpus": [{"id": "0", "slots": %d}]}]}\n' "$cores" >"$spec"
echo "== main suite started, output in $log"
suite_since=$SECONDS
(cd build && exec setsid ctest --output-on-failure -j "$((cores + 9))" --resource-spec-file "$spec" \
  -E '^(tst_.*|build_tests)$') >"$log" 2>&1 &
suite=$!
trap 'kill -TERM -- "-$suite" 2>/dev/null || true' EXIT

step "asan build" qlc_build asan
step "fuzz build" qlc_build fuzz
step "fuzz tests" ctest --test-dir build-fuzz/fuzz --output-on-failure -j "$cores"
step "asan tests" ctest --preset asan
status=0
wait "$suite" || status=$?
trap - EXIT
echo "== main suite: $((SECONDS - suite_since)) s from the program build's end, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "== all steps: $((SECONDS - started)) s"
[ ${#failed[@]} -eq 0 ] || echo "FAILED: ${failed[*]} (output above)"
cat "$log"
[ $status -eq 0 ] && [ ${#failed[@]} -eq 0 ]
