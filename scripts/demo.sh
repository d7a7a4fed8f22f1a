#!/usr/bin/env bash
# Sets everything up and runs the demo: installs what is missing, builds,
# creates (or reuses) a demo installation on an embedded Firebird database in
# demo/ and opens the label window. Without a display it runs under xvfb-run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/host/orbelan demo "${1:-$PWD/demo}"
