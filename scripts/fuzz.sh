#!/usr/bin/env bash
# Runs every fuzz target for SECONDS each (default 60) from its seed corpus
# in fuzz/corpus/<target>/, building them first into build-sanitize/ (clang,
# AddressSanitizer, UndefinedBehaviorSanitizer). New inputs that add coverage
# go to build-sanitize/fuzz-corpus/<target>/; a crashing input is kept as
# build-sanitize/fuzz-crash-<target>-* and the script fails.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
CC=clang CXX=clang++ cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORBELAN_SANITIZE=ON -DORBELAN_FUZZ=ON -DORBELAN_BENCHMARKS=OFF >/dev/null
targets=("$@")
if ((${#targets[@]} == 0)); then
  for source in fuzz/fuzz_*.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi
cmake --build build-sanitize -j"$(nproc)" --target "${targets[@]}"
source scripts/sanitizer-env.sh
export QT_QPA_PLATFORM=offscreen
failed=0
for target in "${targets[@]}"; do
  work=build-sanitize/fuzz-corpus/$target
  mkdir -p "$work"
  echo "== $target: ${seconds}s"
  if ! build-sanitize/fuzz/"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="build-sanitize/fuzz-crash-$target-" \
    "$work" "fuzz/corpus/$target" 2>build-sanitize/fuzz-"$target".log; then
    tail -40 build-sanitize/fuzz-"$target".log
    failed=$((failed + 1))
  else
    grep -E '^stat::number_of_executed_units|^Done' build-sanitize/fuzz-"$target".log || true
  fi
done
echo "fuzz targets: $((${#targets[@]} - failed)) passed, $failed failed"
((failed == 0))
