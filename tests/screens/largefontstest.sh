#!/usr/bin/env bash
# The dialogs at large fonts on a real (virtual) X display, as they open for
# the operator: the settings dialog widens where its tables need it and
# keeps its size where they do not; the tip calibration dialog keeps its
# width and wraps its steps instead.
#   largefontstest.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail
build="$1"
scratch="$2"
mkdir -p "$scratch"
# Leaks and string reads past a length inside the X libraries are not this
# test's business under the sanitizers.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0:strict_string_checks=0"
unset QT_QPA_PLATFORM

# Width of a PNG, from its header.
png_width() {
  od -An -tu1 -j16 -N4 "$1" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }'
}

# shot DPI LANGUAGE SCREEN: the picture's width.
shot() {
  local file="$scratch/$3-$2-$1.png"
  rm -f "$file"
  QT_FONT_DPI="$1" timeout 60 xvfb-run -a -s "-screen 0 1600x1000x24 -dpi $1" \
    "$build/orvel-frontend" --language "$2" --start --show "$3" --screenshot "$file" \
    > "$scratch/$3-$2-$1.log" 2>&1 || { cat "$scratch/$3-$2-$1.log"; return 1; }
  png_width "$file"
}

failed=0
expect() { # WHAT ACTUAL CONDITION
  if (( $3 )); then echo "ok: $1 $2 px"; else echo "FAIL: $1 $2 px"; failed=1; fi
}
w=$(shot 96 en devices);  expect "settings at 96 dpi, English:" "$w" "w == 1000"
w=$(shot 150 de devices); expect "settings at 150 dpi, German, widened:" "$w" "w > 1000 && w <= 1600"
w=$(shot 150 de calibration); expect "tip calibration at 150 dpi, German:" "$w" "w == 650"
exit "$failed"
