#!/usr/bin/env bash
# The test suite under AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer,
# in its own build folder so the everyday build is left as it is. Any report fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KORVALEN_ASAN_BUILD:-$root/build-asan}"
jobs="${JOBS:-2}"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DKORVALEN_SANITIZE=ON -DKORVALEN_BENCH=OFF -DKORVALEN_TESTS=ON >/dev/null
cmake --build "$build" -j"$jobs"

# abort_on_error stops at the first report, with the report on stderr.
# detect_leaks is the Linux default but is set here so that an inherited
# setting cannot turn it off.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
# Known leaks in system libraries go in this file, if any ever appear.
supp="$root/tools/lsan.supp"
if [ -f "$supp" ]; then export LSAN_OPTIONS="suppressions=$supp:print_suppressions=0"; fi
# No sound card or display is needed: the suite runs headless, but any SDL
# audio opened along the way must not wait for a device.
export SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=dummy

ctest --test-dir "$build" --output-on-failure -j"$jobs" -LE e2e
