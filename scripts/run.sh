#!/usr/bin/env bash
# Builds what is stale of the program itself and starts the converter on the user's data
# folder, which is seeded from data/ when it holds neither data file. The tests and the
# benchmarks are left to scripts/test.sh, so that a first run shows the window as soon as
# the program is built.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bash "$QLC_ROOT/scripts/deps.sh" "${QLC_BUILD_PACKAGES[@]}"
qlc_build release qlconvert
exec "$QLC_ROOT/packaging/qlconvert-launch" --bin "$QLC_ROOT/build/src/qlconvert" \
  --data "$QLC_ROOT/data" "$@"
