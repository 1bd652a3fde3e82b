#!/usr/bin/env bash
# Builds what is stale and runs every test headless; ends with CTest's summary.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bash "$QLC_ROOT/scripts/deps.sh" "${QLC_BUILD_PACKAGES[@]}" xvfb trayer xauth xdotool x11-utils g++-mingw-w64-x86-64 desktop-file-utils appstream dpkg-dev
export QT_QPA_PLATFORM=offscreen
qlc_build "$QLC_ROOT/build" Release
cd "$QLC_ROOT/build"
ctest --output-on-failure -j2
