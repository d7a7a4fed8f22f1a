#!/usr/bin/env bash
# Measures continuous integration as it runs on a new machine: clones the
# committed tree into an empty folder and runs .ci/run there with CI=true and
# ccache off, then prints its wall-clock time. Its output is kept in
# CLONE_DIR/ci.log.
#   scripts/measure-ci.sh [CLONE_DIR]   (default: a new temporary folder)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-$(mktemp -d /tmp/orbelan-ci-XXXXXX)}
rm -rf "$dir"
git clone -q . "$dir"
start=$(date +%s)
status=0
(cd "$dir" && CI=true CCACHE_DISABLE=1 .ci/run) >"$dir/ci.log" 2>&1 || status=$?
end=$(date +%s)
grep -E "tests passed|fuzz targets:" "$dir/ci.log" || true
echo ".ci/run: exit status $status, $(((end - start) / 60)) min $(((end - start) % 60)) s wall"
exit "$status"
