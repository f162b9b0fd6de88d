#!/usr/bin/env bash
# Builds what the speed benchmark runs, then runs it; options go to the benchmark.
#   ./bench.sh                               100,000 rows, headless and desktop (offscreen)
#   ./bench.sh --rows 10000,100000,1000000   each size in turn
#   ./bench.sh --reps 9 --headless           more runs per step, without the desktop
set -euo pipefail
cd "$(dirname "$0")"
scripts/ensure-packages
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target library_bench
build/bench/library_bench "$@"
