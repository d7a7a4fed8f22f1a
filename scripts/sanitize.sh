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
  -DORBELAN_WERROR="$werror" -DORBELAN_SANITIZE=ON -DORBELAN_FUZZ=ON >/dev/null
cmake --build build-sanitize -j"$(nproc)"
source scripts/sanitizer-env.sh
export QT_QPA_PLATFORM=offscreen
cd build-sanitize
# LeakSanitizer's own tracer now and then crashes while it stops a process's
# threads at exit ("Tracer caught signal 11"); a test that fails is run once
# more, so that only a finding that repeats fails the run.
ctest --output-on-failure -j2 --timeout 900 --repeat until-pass:2 "$@"
