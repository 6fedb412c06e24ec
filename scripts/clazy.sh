#!/usr/bin/env bash
# Qt-aware static analysis of the project's own sources with clazy-standalone.
# Fails on any warning that scripts/clazy-allow.txt does not list.
#   scripts/clazy.sh            configure build-clazy/, generate moc/uic output, analyse
#   scripts/clazy.sh --list     print every warning, allowed or not, and exit 0
#
# Checks: level0 and level1, plus the level-2 checks that fit a Qt widget
# plug-in with generated forms:
#   old-style-connect         connections are function-pointer connects; string
#                             signatures fail only at run time
#   function-args-by-ref      Qt containers and strings are passed by const reference
#   function-args-by-value    small trivially copyable values are not passed by reference
#   missing-qobject-macro     every QObject subclass needs its meta-object (qobject_cast,
#                             tr() contexts, inherits() in the tests)
#   base-class-event          event handlers must hand unhandled events on
#   ctor-missing-parent-argument  widgets must be parentable
#   copyable-polymorphic      polymorphic value types slice when copied
#   virtual-call-ctor         virtual calls in constructors do not dispatch
#   rule-of-three             classes that own memory must not be copied by default
#   returning-void-expression, static-pmf, global-const-char-pointer, missing-typeinfo
# Left out:
#   qstring-allocations       every visible text goes through tr() and every reply is
#                             compared as Latin-1; the check would flag the literals the
#                             translations and the tests key on, for no run-time gain
#   implicit-casts            the command manager's C-style int/bool results are meant to
#                             be used as truth values
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"
dir="$top/build-clazy"
allow="$top/scripts/clazy-allow.txt"
list_only=0
[ "${1:-}" = "--list" ] && list_only=1

command -v clazy-standalone >/dev/null || ./scripts/install-deps.sh

level2="old-style-connect,function-args-by-ref,function-args-by-value,missing-qobject-macro,base-class-event"
level2+=",ctor-missing-parent-argument,copyable-polymorphic,virtual-call-ctor,rule-of-three"
level2+=",returning-void-expression,static-pmf,global-const-char-pointer,missing-typeinfo"
checks="level0,level1,$level2"

# clang compile commands, so the analyser sees the flags it understands.
cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
  -DMT_BUILD_TESTS=OFF -DMT_BUILD_BENCH=OFF -DMT_BUILD_FUZZ=OFF -DMT_SANITIZE= -DCMAKE_BUILD_TYPE=Debug >/dev/null
# Only the generated headers the sources include (moc, uic); nothing is compiled.
mapfile -t autogen < <(ninja -C "$dir" -t targets all | sed -n 's/^\([A-Za-z0-9_.-]*_autogen\): .*/\1/p' | sort -u)
ninja -C "$dir" "${autogen[@]}" >/dev/null

# The project's own translation units; generated files live in the build folder.
mapfile -t sources < <(jq -r '.[].file' "$dir/compile_commands.json" \
  | grep -E "^$top/(module|host|data|calibration|tipcalibration|settings|resources|frontend|simulator)/([^/]+/)?[^/]+\.cpp$" \
  | sort -u)

# An empty list would pass as clean.
if [ "${#sources[@]}" -lt 20 ]; then
  echo "clazy: only ${#sources[@]} sources found in $dir/compile_commands.json" >&2
  exit 1
fi

log="$dir/clazy.log"
raw="$dir/clazy-raw.txt"
status=0
printf '%s\n' "${sources[@]}" \
  | xargs -P "$(nproc)" -n 4 clazy-standalone -p "$dir" --checks="$checks" \
      --header-filter="^$top/(module|host|data|calibration|tipcalibration|settings|resources|frontend|simulator)/" \
      --ignore-dirs="^($dir|/usr)/" > "$log" 2>&1 || status=$?
grep -E ': warning: .*\[-Wclazy-' "$log" > "$raw" || true
# A file that does not parse, or an analyser that crashed on it, was not
# analysed: that is a failure, not a clean run. (xargs: 123 means some run
# exited non-zero, 124 and up that one exited 255, died or did not start.)
failed=0
if [ "$status" -ge 124 ] || grep -qE 'Stack dump|PLEASE submit a bug report|Segmentation fault' "$log"; then
  echo "clazy: clazy-standalone crashed (xargs status $status), see $log" >&2
  failed=1
fi
if grep -E ': (fatal )?error: ' "$log" >&2; then
  echo "clazy: some sources do not compile, see $log" >&2
  failed=1
elif [ "$status" -eq 123 ]; then
  echo "clazy: clazy-standalone failed without a compile error, see $log" >&2
  failed=1
fi
if [ "$failed" -eq 1 ] && [ "$list_only" -eq 0 ]; then
  exit 1
fi

# "file:line:col: warning: text [-Wclazy-check]" -> "file:line check text", project-relative, once each.
warnings="$dir/clazy-warnings.txt"
sed -E "s#^$top/##; s#^([^:]+):([0-9]+):[0-9]+: warning: (.*) \[-Wclazy-([a-z0-9-]+)\]\$#\1:\2 \4 \3#" "$raw" \
  | sort -u > "$warnings"

if [ "$list_only" -eq 1 ]; then
  cat "$warnings"
  exit 0
fi

# Allow-list entries: "<file glob> <check>", '#' starts a comment; no line numbers.
unexpected=0
while IFS= read -r line; do
  file="${line%%:*}"
  check="$(cut -d' ' -f2 <<<"$line")"
  allowed=0
  while read -r pattern allowed_check _; do
    [ -z "$pattern" ] && continue
    # shellcheck disable=SC2053  # the pattern is a glob on purpose
    if [[ "$file" == $pattern && "$check" == "$allowed_check" ]]; then
      allowed=1
      break
    fi
  done < <(sed -e 's/#.*//' "$allow")
  if [ "$allowed" -eq 0 ]; then
    echo "clazy: $line"
    unexpected=$((unexpected + 1))
  fi
done < "$warnings"

total=$(wc -l < "$warnings")
echo "clazy: ${#sources[@]} files, $total warnings, $unexpected not allowed"
[ "$unexpected" -eq 0 ]
