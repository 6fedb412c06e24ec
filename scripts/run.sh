#!/usr/bin/env bash
# Installs what is missing, builds everything and starts the front-end with
# the embedded simulated controller. Extra arguments go to the front-end.
# Builds into build-run/, so the test configuration of build/ stays as it is.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"
./scripts/install-deps.sh
dir=build-run
./scripts/build.sh "$dir" -DMT_BUILD_TESTS=OFF -DMT_BUILD_BENCH=OFF -DMT_BUILD_FUZZ=OFF

frontend="$top/$dir/orvel-frontend"
for argument in "$@"; do
  # Texts only: no window, no display needed.
  case "$argument" in
    -h|--help|--help-all|-v|--version) exec "$frontend" "$@" ;;
  esac
done

screenshot=0
for argument in "$@"; do
  [ "$argument" = "--screenshot" ] && screenshot=1
done
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  # A screenshot run ends by itself and needs no window system.
  [ "$screenshot" -eq 1 ] && QT_QPA_PLATFORM=offscreen exec "$frontend" "$@"
  cat <<TEXT
No display found: the front-end runs on a virtual X display, where nobody sees it.
  To see a screen, take a picture of it instead, e.g.
    $0 --start --show display --delay 2000 --screenshot display.png
  ($0 --help lists the screens --show opens.)
  or run this from a desktop session. Ctrl+C ends it.
TEXT
  exec xvfb-run -a "$frontend" "$@"
fi
exec "$frontend" "$@"
