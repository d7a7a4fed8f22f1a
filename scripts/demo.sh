#!/usr/bin/env bash
# Sets everything up and runs the demo: installs what is missing, builds,
# creates (or reuses) a demo installation on an embedded Firebird database in
# demo/ and opens the label window. Without a display it runs under xvfb-run.
# The demo ends when its window is closed, or on Ctrl-C / SIGTERM.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
command=(build/host/orbelan demo "${1:-$PWD/demo}" "${@:2}")
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "No display: running the demo under xvfb-run" >&2
  exec xvfb-run -a "${command[@]}"
fi
exec "${command[@]}"
