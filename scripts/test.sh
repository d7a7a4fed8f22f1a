#!/usr/bin/env bash
# Sets everything up and runs every test: installs what is missing, builds,
# starts the Firebird server the network tests use, runs CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
eval "$(scripts/firebird-server.sh)"
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure -j2 --timeout 600
