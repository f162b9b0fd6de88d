#!/usr/bin/env bash
# Builds everything and runs the whole test suite.
#   ./test.sh                       the ordinary build, in build/
#   ./test.sh --sanitize            with the address and undefined-behaviour sanitizers, in build-sanitize/
#   ./test.sh --warnings-as-errors  a warning stops the build (CI); combines with --sanitize
set -euo pipefail
cd "$(dirname "$0")"

build=build
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
warnings_as_errors=OFF
for argument in "$@"; do
  case "$argument" in
    --sanitize)
      build=build-sanitize
      options=(-DCMAKE_BUILD_TYPE=Debug -DSANITIZE=ON)
      export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
      export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
      ;;
    --warnings-as-errors) warnings_as_errors=ON ;;
    *) echo "usage: ./test.sh [--sanitize] [--warnings-as-errors]" >&2; exit 2 ;;
  esac
done

scripts/ensure-packages
# Named every time, so that a build folder configured for CI does not keep it.
cmake -S . -B "$build" "${options[@]}" -DWARNINGS_AS_ERRORS="$warnings_as_errors" >/dev/null
cmake --build "$build" -j2
ctest --test-dir "$build" --output-on-failure -j2
