#!/usr/bin/env bash
# Builds the system and starts the launcher on a writable copy of the sample
# library.
#   ./run.sh             in the desktop front-end, on build/library/ (made on first use, then kept)
#   ./run.sh --headless  plays samples/demo/launcher.script and prints what the user sees, on
#                        build/demo-library/, copied afresh each time: the demo saves, and what it
#                        saves must not show up in the windows, nor an earlier demo in this one
set -euo pipefail
cd "$(dirname "$0")"

scripts/ensure-packages
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 >/dev/null

headless=false
[ "${1:-}" = "--headless" ] && headless=true

library="$PWD/build/library"
if $headless; then
  library="$PWD/build/demo-library"
  rm -rf "$library"
fi
if [ ! -d "$library" ]; then
  mkdir -p "$library"
  cp samples/library/*.dat "$library/"
fi
# The library directories end with their separator: the plug-ins append file names to them.
export UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR="$library/"
export UGII_CAM_LIBRARY_TOOL_METRIC_DIR="$library/"
# The launcher finds the editors in <UGII_USER_DIR>/application/.
export UGII_USER_DIR="$PWD/build/stage"
stage=build/stage

if $headless; then
  exec "$stage/bin/ughost" --script samples/demo/launcher.script --syslog build/ughost.syslog \
    "$stage/application/korvane.so"
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display to open windows on: run ./run.sh --headless to play the demo session as a transcript." >&2
  exit 1
fi
exec "$stage/bin/ughost-gui" --syslog build/ughost.syslog "$stage/application/korvane.so"
