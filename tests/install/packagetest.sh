#!/usr/bin/env bash
# Makes the Debian package and checks that it holds the installed layout.
#   packagetest.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail
build="$1"
out="$2/package"
rm -rf "$out"
mkdir -p "$out"
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb="$(ls "$out"/*.deb)"
contents="$(dpkg-deb -c "$deb")"
for file in ./usr/bin/orvel-frontend ./usr/bin/orvel-controller-sim ./usr/lib/orvel/modules/libmeasurementtool.so \
            ./usr/share/doc/orvel-measurementtool/README.md; do
  grep -q " $file\$" <<<"$contents" || { echo "$deb lacks $file"; echo "$contents"; exit 1; }
done
dpkg-deb -f "$deb" Package Version Depends
echo "$deb"
