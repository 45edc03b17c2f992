#!/usr/bin/env bash
# Builds the fuzz targets with clang and gives each a short run from seeds made
# of the real game files. Any crash, leak, timeout or memory blow-up fails.
#   FUZZ_SECONDS=600 ./fuzz/run.sh          longer runs
#   ./fuzz/run.sh fuzz_gif                  one target only
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KORVALEN_FUZZ_BUILD:-$root/build-fuzz}"
seconds="${FUZZ_SECONDS:-50}"
jobs="${JOBS:-2}"
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_gif fuzz_sound fuzz_script)

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORVALEN_FUZZ=ON -DKORVALEN_TESTS=OFF -DKORVALEN_BENCH=OFF >/dev/null
cmake --build "$build" -j"$jobs" --target "${targets[@]}"

# The corpora live in the build folder and grow from run to run; the seeds are
# copied in afresh each time so a cleaned folder starts from the real files.
seed() {
  local dir="$build/corpus/$1"
  shift
  mkdir -p "$dir"
  for f in "$@"; do cp -f "$f" "$dir/seed-$(basename "$f")"; done
}
seed fuzz_gif "$root"/assets/*.gif "$root"/assets/formdata/*.gif
seed fuzz_sound "$root"/assets/sfx/*
script_seeds="$build/script-seeds"
mkdir -p "$script_seeds"
printf '0 activate\n100 up\n250 left   # turn\n250 right\n9000 key 27\n' >"$script_seeds/keys.txt"
printf '# a whole game\n\n0 down\n3600 down\n40000 close\n' >"$script_seeds/close.txt"
printf '5 key 65535\n5 key 0\n1000000000000 up\n' >"$script_seeds/limits.txt"
# The replays are real scripts; they are picked up when that folder is there.
shopt -s nullglob
seed fuzz_script "$script_seeds"/*.txt "$root"/tests/replays/*.script
shopt -u nullglob

declare -A max_len=([fuzz_gif]=32768 [fuzz_sound]=131072 [fuzz_script]=4096)
declare -A dict=([fuzz_gif]=gif.dict [fuzz_sound]=sound.dict [fuzz_script]=script.dict)

export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
[ -f "$root/tools/lsan.supp" ] && export LSAN_OPTIONS="suppressions=$root/tools/lsan.supp:print_suppressions=0"
export SDL_AUDIODRIVER=dummy

status=0
mkdir -p "$build/artifacts" "$build/logs"
for t in "${targets[@]}"; do
  log="$build/logs/$t.log"
  echo "== $t: ${seconds}s"
  if "$build/fuzz/$t" "$build/corpus/$t" \
      -dict="$root/fuzz/${dict[$t]}" -max_len="${max_len[$t]}" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -detect_leaks=1 \
      -artifact_prefix="$build/artifacts/$t-" -print_final_stats=1 >"$log" 2>&1; then
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)|^Done ' "$log" || true
  else
    echo "!! $t failed; the report is in $log, the input in $build/artifacts/"
    grep -E 'ERROR|SUMMARY|Test unit written' "$log" || tail -30 "$log"
    status=1
  fi
done
exit $status
