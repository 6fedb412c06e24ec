#!/usr/bin/env bash
# Installs the build into a scratch prefix and starts the installed front-end
# from there: it must find its module in the modules folder, skip a library
# that is no module, and show the window.
#   installtest.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail
build="$1"
prefix="$2/prefix"
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

modules="$prefix/lib/orvel/modules"
for file in bin/orvel-frontend bin/orvel-controller-sim lib/orvel/modules/libmeasurementtool.so \
            share/doc/orvel-measurementtool/README.md share/doc/orvel-measurementtool/simulator/README.md \
            share/doc/orvel-measurementtool/copyright share/doc/orvel-measurementtool/changelog.gz \
            share/man/man1/orvel-frontend.1.gz share/man/man1/orvel-controller-sim.1.gz \
            share/applications/orvel-frontend.desktop share/icons/hicolor/16x16/apps/orvel-frontend.png \
            share/icons/hicolor/scalable/apps/orvel-frontend.svg; do
  [ -e "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done

# A library in the modules folder that is not a module: logged and skipped.
printf 'not a library' > "$modules/libnotes.so"
log="$2/frontend.log"
shot="$2/installed.png"
rm -f "$shot"
QT_QPA_PLATFORM=offscreen "$prefix/bin/orvel-frontend" --start --show display --delay 300 \
  --screenshot "$shot" > "$log" 2>&1 || { cat "$log"; exit 1; }
cat "$log"
grep -q "from $modules/libmeasurementtool.so" "$log" || { echo "the module was not loaded from $modules"; exit 1; }
grep -q "Skipped $modules/libnotes.so" "$log" || { echo "the other library was not skipped with a note"; exit 1; }
[ -s "$shot" ] || { echo "no screenshot"; exit 1; }
echo "installed front-end ran from $prefix and saved $shot"
