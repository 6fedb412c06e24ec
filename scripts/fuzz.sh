#!/usr/bin/env bash
# Builds the data output parser's libFuzzer target with clang,
# AddressSanitizer and UndefinedBehaviorSanitizer into build-fuzz and runs
# it for the given number of seconds (default 60), starting from the seed
# corpus in fuzz/corpus. Fails on any crash, leak, sanitizer report or
# broken invariant; prints how many inputs were executed.
#   scripts/fuzz.sh [seconds]
set -euo pipefail

seconds="${1:-60}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-fuzz"

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMT_FUZZ_ONLY=ON -DMT_BUILD_FUZZ=ON \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DMT_SANITIZE=address,undefined >/dev/null
cmake --build "$build" --target fuzz_orvelparser -j2

# New inputs go to a corpus of the build's own; the seeds stay as they are.
corpus="$build/fuzz-corpus"
mkdir -p "$corpus"
log="$build/fuzz_orvelparser.log"

status=0
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  "$build/fuzz/fuzz_orvelparser" \
  -max_total_time="$seconds" -max_len=66000 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$build/" \
  -dict="$root/fuzz/orvelparser.dict" \
  "$corpus" "$root/fuzz/corpus" >"$log" 2>&1 || status=$?

executions="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
rate="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")"
if [ "$status" -ne 0 ] || [ -z "$executions" ] \
   || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|invariant broken' "$log"; then
  tail -n 60 "$log"
  echo "fuzz_orvelparser: FAILED (exit $status); log: $log, reproducer in $build/" >&2
  exit 1
fi
echo "fuzz_orvelparser: ${executions} executions in ${seconds} s, ${rate} exec/s ($(( executions * 60 / seconds )) a minute), no report"
