#!/usr/bin/env bash
# Builds what is stale and starts the converter on the user's data folder, which is
# seeded from data/ when it holds neither data file.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bash "$QLC_ROOT/scripts/deps.sh" "${QLC_BUILD_PACKAGES[@]}"
qlc_build "$QLC_ROOT/build" Release
exec "$QLC_ROOT/packaging/qlconvert-launch" --bin "$QLC_ROOT/build/src/qlconvert" \
  --data "$QLC_ROOT/data" "$@"
