#!/usr/bin/env bash
# Builds everything with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer (with the fuzz targets' coverage instrumentation,
# so one build serves both) into build-sanitize/ and runs every test there.
# Expects the Firebird server environment of scripts/firebird-server.sh when
# the server tests are to run.
set -euo pipefail
cd "$(dirname "$0")/.."
werror=OFF
[[ "${CI:-}" == "true" ]] && werror=ON
CC=clang CXX=clang++ cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORBELAN_WERROR="$werror" -DORBELAN_SANITIZE=ON -DORBELAN_FUZZ=ON -DORBELAN_BENCHMARKS=OFF >/dev/null
cmake --build build-sanitize -j"$(nproc)"
source scripts/sanitizer-env.sh
export QT_QPA_PLATFORM=offscreen
cd build-sanitize
# Every test runs once: a test that fails now and then is a fault to fix.
ctest --output-on-failure -j2 --timeout 900 "$@"
