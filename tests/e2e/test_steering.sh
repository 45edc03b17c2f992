#!/usr/bin/env bash
# Steering with real key presses: Down is refused until the ship has left its
# start line, Up and Left creep the ship along, and dodging the meteor that
# way keeps the playing field going past five seconds.
source "$(dirname "$0")/lib.sh"

start_x
learn_clock 12
for g in nave navea navei; do
  cp "$KORVALEN_ASSETS/$g.gif" "$E2E_TMP/$g.gif"  # opaque sprites: usable as templates as they are
done
start_game "$KORVALEN_ASSETS" SDL_AUDIODRIVER=dummy
await_window 674x488
pf=$W
focus "$pf"

# ship_in SPRITE X Y W H: sets SHIP_X/SHIP_Y when the sprite is found there.
ship_in() {
  local at
  shot "$pf" "$E2E_TMP/steer.png" || return 1
  at=$(find_ship "$E2E_TMP/steer.png" "$E2E_TMP/$1.gif" "$2" "$3" "$4" "$5")
  [ -n "$at" ] || return 1
  read -r SHIP_X SHIP_Y <<<"$at"
}

ship_in nave 340 400 90 88 || fail "no ship near its start place"
[ "$SHIP_X $SHIP_Y" = "370 440" ] || fail "the ship starts at $SHIP_X,$SHIP_Y"

xdotool key Down
wait_until 15 "the clock to reach 1" clock_at_least "$pf" 1
ship_in nave 340 400 90 88 && [ "$SHIP_X $SHIP_Y" = "370 440" ] ||
  fail "Down moved or turned the ship before it had gone up"

xdotool key Up
last_y=440
above() {
  ship_in navea 355 0 60 488 || return 1
  [ "$SHIP_X" -eq 370 ] || fail "going up, the ship drifted to x=$SHIP_X"
  ((SHIP_Y <= last_y)) || fail "going up, the ship went down from $last_y to $SHIP_Y"
  (((440 - SHIP_Y) % 5 == 0)) || fail "the ship is at y=$SHIP_Y, off its 5-pixel steps"
  last_y=$SHIP_Y
  ((SHIP_Y <= 370))
}
wait_until 20 "the ship to climb to y 370" above

xdotool key Left
row=$SHIP_Y
left_of() {
  ship_in navei 60 $((row - 30)) 360 100 || return 1
  ((SHIP_Y <= row && row - SHIP_Y <= 15)) || fail "turning left, the ship's row went from $row to $SHIP_Y"
  row=$SHIP_Y  # it may have climbed a step before the key arrived, but not after
  ((SHIP_X <= 345))
}
wait_until 20 "the ship to move left" left_of
ship_in navei 60 $((row - 30)) 360 100 && [ "$SHIP_Y" -eq "$row" ] || fail "the ship left its row"

wait_until 30 "the clock to reach 7" clock_at_least "$pf" 7
viewable "$pf" || fail "the playing field is gone although the ship dodged everything"
[ -z "$(visible_game_windows | grep -v "^$pf\$")" ] || fail "the results window came up"
ship_in navei 60 $((row - 30)) 360 100 || fail "the ship is wrecked or lost"

wm_close "$pf"
rc=$(game_exit_status)
[ "$rc" -eq 0 ] || fail "closing the playing field ended the game with status $rc"
note "ok"
