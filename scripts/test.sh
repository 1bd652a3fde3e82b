#!/usr/bin/env bash
# Builds what is stale and runs every test headless; ends with CTest's summary.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bash "$QLC_ROOT/scripts/deps.sh" "${QLC_BUILD_PACKAGES[@]}" xvfb trayer xauth xdotool x11-utils openbox xfwm4 dbus python3-gi weston qt6-wayland at-spi2-core python3-pyatspi g++-mingw-w64-x86-64 desktop-file-utils appstream dpkg-dev clang libclang-rt-14-dev llvm units
export QT_QPA_PLATFORM=offscreen

# First the fuzz targets (clang, libFuzzer) for a fixed number of inputs each, then every
# Qt Test program under AddressSanitizer and UndefinedBehaviorSanitizer (presets fuzz and
# asan, each in a build folder of its own); the normal suite runs last, so that the script
# ends with its summary.
cd "$QLC_ROOT"
for preset in fuzz asan; do
  [ -f "$QLC_ROOT/build-$preset/build.ninja" ] || cmake --preset "$preset" >/dev/null
done
cmake --build --preset fuzz --target qlc_fuzzers
ctest --test-dir "$QLC_ROOT/build-fuzz/fuzz" --output-on-failure -j2
cmake --build --preset asan
ctest --preset asan

qlc_build "$QLC_ROOT/build" Release
cd "$QLC_ROOT/build"
ctest --output-on-failure -j2
