#!/usr/bin/env bash
# test_soak_real.sh [unwrecked|plain]: ten minutes of the real game in a real
# window, with random keys and another program taking the focus now and then,
# while the game's resident memory is sampled. It must not crash, must write
# nothing to stderr, and its memory must stay flat once the first minute's
# caches are warm.
#
# unwrecked (the default) plays in a copy of the assets without
# navedestruida.gif: the ship is then never wrecked, so the playing field with
# every hazard, the speed changes and the error window's counter runs for the
# whole time. plain keeps the assets whole: the first hit hands over to the
# results window, which then takes the keys and focus changes for the rest.
#
# Too long for every run: skipped unless KORVALEN_SOAK=1.
# KORVALEN_SOAK_SECONDS shortens it; KORVALEN_SOAK_LOG keeps the samples.
source "$(dirname "$0")/lib.sh"

[ "${KORVALEN_SOAK:-}" = 1 ] || { echo "SKIP: set KORVALEN_SOAK=1 to run the soak" >&2; exit 77; }
mode=${1:-unwrecked}
seconds=${KORVALEN_SOAK_SECONDS:-600}
seed=${KORVALEN_E2E_SEED:-$((10#${EPOCHREALTIME#*.} % 32768))}
RANDOM=$seed
note "mode $mode, $seconds s, seed $seed"

assets=$KORVALEN_ASSETS
if [ "$mode" = unwrecked ]; then
  assets="$E2E_TMP/assets"
  cp -r "$KORVALEN_ASSETS" "$assets"
  rm "$assets/navedestruida.gif"
elif [ "$mode" != plain ]; then
  fail "unknown mode: $mode"
fi

start_x
xmessage -geometry +0+0 -name e2e-other "another program" >/dev/null 2>&1 &
E2E_PIDS+=($!)
other_window() { OTHER=$(xdotool search --classname '^e2e-other$' 2>/dev/null | head -n1) && [ -n "$OTHER" ] && viewable "$OTHER"; }
wait_until 20 "the other window" other_window

start_game "$assets" SDL_AUDIODRIVER=dummy
await_window 674x488

rss_kb() { awk '/^VmRSS:/{print $2}' "/proc/$GAME_PID/status" 2>/dev/null; }
samples="${KORVALEN_SOAK_LOG:-$E2E_TMP/rss.log}"
: >"$samples"
keys=(Up Down Left Right)
t0=$(now_ms)
next_sample=0
next_switch=$((10000 + RANDOM % 20000))
presses=0 switches=0
while :; do
  elapsed=$(($(now_ms) - t0))
  ((elapsed < seconds * 1000)) || break
  game_running || fail "the game ended on its own after ${elapsed} ms (status $(cat "$E2E_TMP/game.rc"))"
  if ((elapsed >= next_sample)); then
    echo "$((elapsed / 1000)) $(rss_kb)" >>"$samples"
    next_sample=$((next_sample + 5000))
  fi
  if ((elapsed >= next_switch)); then
    # Away to the other program for a moment, then back to whichever game
    # window is up, as a player clicking on it would.
    focus "$OTHER"
    sleep "0.$((RANDOM % 9 + 1))"
    w=$(visible_game_windows | head -n1)
    [ -n "$w" ] && focus "$w"
    switches=$((switches + 1))
    next_switch=$((elapsed + 10000 + RANDOM % 20000))
  fi
  xdotool key "${keys[RANDOM % 4]}" 2>/dev/null || true
  presses=$((presses + 1))
  sleep "0.$((RANDOM % 8 + 1))"
done

w=$(visible_game_windows | head -n1)
[ -n "$w" ] || fail "no game window is left to close"
wm_close "$w"
rc=$(game_exit_status)
[ "$rc" -eq 0 ] || fail "closing after the soak ended the game with status $rc"
[ ! -s "$E2E_TMP/game.err" ] || fail "the game wrote to stderr"

# Memory: the first minute fills caches (fonts, the dialog, every sprite); from
# then on the resident size must not grow.
read -r first at_minute last peak < <(awk '
  NR == 1 { first = $2 }
  $1 >= 60 && !m { m = $2 }
  $1 >= 60 && $2 > peak { peak = $2 }
  { last = $2 }
  END { print first, m, last, peak }' "$samples")
note "$presses keys, $switches focus changes; VmRSS kB: start $first, at 1 min $at_minute, end $last, peak after 1 min $peak"
[ -n "$at_minute" ] || fail "no samples after the first minute"
((peak - at_minute < 1024)) || fail "resident memory grew by $((peak - at_minute)) kB after the first minute"
note "ok"
