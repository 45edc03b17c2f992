#!/usr/bin/env bash
# Closing the playing field the moment it appears must still end the game
# cleanly. The close races the game's start-up, so it is tried a few times.
source "$(dirname "$0")/lib.sh"

start_x
for run in 1 2 3 4 5; do
  start_game "$KORVALEN_ASSETS" SDL_AUDIODRIVER=dummy
  await_window 674x488
  wm_close "$W"
  rc=$(game_exit_status)
  [ "$rc" -eq 0 ] || fail "run $run: closing the playing field at once ended the game with status $rc"
done
note "ok"
