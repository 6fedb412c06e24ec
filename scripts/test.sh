#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite.
#   scripts/test.sh              the normal build (build/)
#   scripts/test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer (build-asan/)
#   scripts/test.sh --threads    the tests that cross threads, under ThreadSanitizer (build-tsan/)
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"
./scripts/install-deps.sh

if [ "${1:-}" = "--threads" ]; then
  dir=build-tsan
  # The module's own threads and locks. The front-end's worker is handed its
  # jobs through Qt's event queue, whose locks Debian's uninstrumented Qt
  # hides from the sanitizer: every queued call would be reported.
  threaded_tests=(tst_display)
  cmake -S "$top" -B "$top/$dir" -G Ninja -DMT_SANITIZE=thread -DMT_BUILD_TESTS=ON -DMT_BUILD_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$top/$dir" -j"$(nproc)" --target measurementtool "${threaded_tests[@]}"
  export TSAN_OPTIONS="halt_on_error=1:exitcode=66:suppressions=$top/scripts/tsan.supp"
  export QT_QPA_PLATFORM=offscreen
  pattern="^($(IFS='|'; echo "${threaded_tests[*]}"))\$"
  exec ctest --test-dir "$dir" --output-on-failure -R "$pattern"
elif [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  ./scripts/build.sh "$dir" -DMT_SANITIZE=address,undefined -DMT_BUILD_TESTS=ON -DMT_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
  # Any report ends the process with an error, so the test fails.
  export ASAN_OPTIONS="detect_leaks=1:fast_unwind_on_malloc=0:abort_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1"
  export LSAN_OPTIONS="suppressions=$top/scripts/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
else
  dir=build
  ./scripts/build.sh "$dir" -DMT_SANITIZE= -DMT_BUILD_TESTS=ON -DMT_BUILD_BENCH=ON
fi

export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j2
