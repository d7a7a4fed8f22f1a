#!/usr/bin/env bash
# Measures a cold build: configures and builds everything (libraries, the
# program, tests, benchmarks) into an empty folder with ccache turned off, as
# scripts/build.sh does, then prints the wall-clock times and the steps'
# processor time by phase (scripts/build-times.py).
#   scripts/measure-build.sh [BUILD_DIR]   (default: a new temporary folder)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-$(mktemp -d /tmp/orbelan-cold-build-XXXXXX)}
rm -rf "$dir"
export CCACHE_DISABLE=1
start=$(date +%s.%N)
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORBELAN_WERROR=ON >/dev/null
configured=$(date +%s.%N)
cmake --build "$dir" -j"$(nproc)" >"$dir/build.log"
built=$(date +%s.%N)
python3 scripts/build-times.py "$dir"
awk -v s="$start" -v c="$configured" -v b="$built" 'BEGIN {
  printf "configure %.0f s, build %.0f s, in all %.1f min wall on %d cores\n", c - s, b - c, (b - s) / 60, '"$(nproc)"'
}'
echo "build folder: $dir"
