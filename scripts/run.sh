#!/usr/bin/env bash
# Installs what is missing, builds everything and starts the front-end with
# the embedded simulated controller. Extra arguments go to the front-end.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"
./scripts/install-deps.sh
./scripts/build.sh build -DMT_BUILD_TESTS=OFF -DMT_BUILD_BENCH=OFF

frontend="$top/build/orvel-frontend"
if [ ! -x "$frontend" ]; then
  echo "Built the plug-in: $top/build/libmeasurementtool.so"
  echo "(no front-end in this tree to start it with)"
  exit 0
fi

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: the front-end runs on a virtual X display."
  echo "Use --screenshot FILE to see it, or run this from a desktop session."
  exec xvfb-run -a "$frontend" "$@"
fi
exec "$frontend" "$@"
