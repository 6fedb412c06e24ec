#!/usr/bin/env bash
# Makes the Debian package and holds it to Debian's rules: lintian finds no
# error and no warning, and no override in the package hides one. Also what
# lintian does not look at: the changelog speaks of this version, the manual
# pages know the options and no build folder, the menu entry starts a
# program the package has.
#   lintiantest.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail
build="$1"
out="$2/lintian"
command -v lintian >/dev/null || { echo "lintian is not installed (scripts/install-deps.sh installs it)"; exit 1; }
rm -rf "$out"
mkdir -p "$out"
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb="$(ls "$out"/*.deb)"
unpacked="$out/unpacked"
dpkg-deb -x "$deb" "$unpacked"
fail() { echo "$deb: $*"; exit 1; }

# --fail-on decides the exit status; the tags down to info are printed for the
# log. No configuration file and no override may silence a tag, and errors and
# warnings are also looked for in the output, should the exit status say less.
status=0
report="$(lintian --no-cfg --no-override --fail-on error,warning --display-info --tag-display-limit 0 \
  "$deb" 2>&1)" || status=$?
echo "$report"
if [ "$status" -ne 0 ] || grep -q '^[EW]: ' <<<"$report"; then
  fail "lintian reports errors or warnings (exit status $status)"
fi
if [ -d "$unpacked/usr/share/lintian/overrides" ]; then
  fail "ships lintian overrides: $(ls "$unpacked/usr/share/lintian/overrides")"
fi

version="$(dpkg-deb -f "$deb" Version)"
doc="$unpacked/usr/share/doc/$(dpkg-deb -f "$deb" Package)"
logged="$(zcat "$doc/changelog.gz" | dpkg-parsechangelog -l - -S Version)"
[ "$logged" = "$version" ] || fail "the changelog's latest entry is $logged, the package $version"

grep -qx 'qttranslations5-l10n' <<<"$(dpkg-deb -f "$deb" Recommends | tr ',' '\n' | sed 's/^ *//')" \
  || fail "does not recommend qttranslations5-l10n"

for program in orvel-frontend orvel-controller-sim; do
  page="$unpacked/usr/share/man/man1/$program.1.gz"
  [ -s "$page" ] || fail "no manual page for $program"
  text="$(zcat "$page")"
  grep -q '\\-\\-help' <<<"$text" || fail "$program's manual page lists no options"
  ! grep -qF "$build" <<<"$text" || fail "$program's manual page names the build folder $build"
done
zcat "$unpacked/usr/share/man/man1/orvel-frontend.1.gz" | grep -q '/usr/lib/orvel/modules' \
  || fail "the front-end's manual page does not name the installed modules folder"

entry="$unpacked/usr/share/applications/orvel-frontend.desktop"
[ -s "$entry" ] || fail "no desktop entry"
exec_line="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")"
[ -x "$unpacked/usr/bin/$exec_line" ] || fail "the desktop entry starts $exec_line, which the package lacks"
icon="$(sed -n 's/^Icon=//p' "$entry")"
for size in 16x16 scalable; do
  ls "$unpacked/usr/share/icons/hicolor/$size/apps/$icon".* >/dev/null 2>&1 \
    || fail "no $size icon $icon for the desktop entry"
done
echo "lintian: no errors or warnings in $deb"
