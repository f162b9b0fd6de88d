#!/usr/bin/env bash
# Builds the system and plays the demo session on a writable copy of the sample
# library (build/library/, made on first use), printing what the user sees.
set -euo pipefail
cd "$(dirname "$0")"

scripts/ensure-packages
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 >/dev/null

library="$PWD/build/library"
if [ ! -d "$library" ]; then
  mkdir -p "$library"
  cp samples/library/*.dat "$library/"
fi
export UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR="$library/"
export UGII_CAM_LIBRARY_TOOL_METRIC_DIR="$library/"

build/stage/bin/ughost --script samples/demo/store.script --param ratomir \
  --syslog build/ughost.syslog build/test-stage/application/storekeeper.so
