#!/usr/bin/env bash
# The window manager's close arrives at an arbitrary moment of an idle game:
# while it is played, in the wreck second (the meteor hits at about 3.6 s),
# right around the hand-over to the results window (about 4.6 s), or on the
# results window. Each time the game must end at once with status 0, and
# nothing may be reported on its way out (a sanitizer build reports leaks and
# faults there). KORVALEN_E2E_SEED replays one choice of instants.
source "$(dirname "$0")/lib.sh"

seed=${KORVALEN_E2E_SEED:-$((10#${EPOCHREALTIME#*.} % 32768))}
RANDOM=$seed
note "seed $seed"

# rand_ms LOW HIGH
rand_ms() { echo $(($1 + RANDOM % ($2 - $1 + 1))); }

# Each phase: a range of instants after the playing field appeared. The
# hand-over's own instant, H, depends on how long the game took to show its
# window, so the first game measures it and the later ranges follow from it.
phases=(
  "results H+1000 H+3500"
  "play 300 3000"
  "wreck H-900 H-100"
  "before-hand-over H-150 H-1"
  "after-hand-over H H+150"
)
H=4600

results_up() { [ -n "$(visible_game_windows)" ] && [ "$(client_size "$(visible_game_windows | head -n1)")" = 677x453 ]; }

# Closes every game window on screen and sets $CLOSED to their sizes.
close_visible() {
  local w
  CLOSED=""
  for w in $(visible_game_windows); do
    CLOSED+=" $(client_size "$w" 2>/dev/null || echo gone)"
    wm_close "$w" 2>/dev/null || true
  done
}

start_x
for phase in "${phases[@]}"; do
  read -r name low high <<<"$phase"
  at=$(rand_ms $((${low//H/$H})) $((${high//H/$H})))
  start_game "$KORVALEN_ASSETS" SDL_AUDIODRIVER=dummy
  await_window 674x488
  t0=$(now_ms)
  if [ "$name" = results ]; then
    wait_until 20 "the results window" results_up
    H=$(($(now_ms) - t0))
    note "hand-over seen $H ms after the playing field"
  fi
  while (($(now_ms) - t0 < at)); do sleep 0.01; done
  close_visible
  sent=$(($(now_ms) - t0))
  # A close sent to the playing field as it is being destroyed never reaches
  # the game; the results window then stays up and is closed as a player would.
  again=""
  for ((i = 0; i < 30; i++)); do
    game_running || break
    sleep 0.1
  done
  if game_running; then
    again=" (closed again on the results window)"
    await_window 677x453
    wm_close "$W"
  fi
  rc=$(game_exit_status)
  note "$name: close sent at ${sent} ms to${CLOSED:- nothing}, status $rc$again"
  [ "$rc" -eq 0 ] || fail "$name: closing at ${sent} ms ended the game with status $rc"
  if grep -E 'Sanitizer|runtime error|LEAK' "$E2E_TMP/game.err" >/dev/null; then
    fail "$name: closing at ${sent} ms left a report on stderr"
  fi
done
note "ok"
