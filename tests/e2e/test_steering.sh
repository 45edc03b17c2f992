#!/usr/bin/env bash
# Steering with real key presses: Down is refused (sprite and place kept) until
# the ship has left its start line, Up and Left creep the ship along, and
# dodging the meteor that way keeps the playing field going past five seconds.
source "$(dirname "$0")/lib.sh"

start_x
learn_clock 12
# The sprites over black stand in for them over the mostly black star field.
for g in nave navei; do
  convert "$KORVALEN_ASSETS/$g.gif" -background black -flatten "$E2E_TMP/$g.png"
done
start_game "$KORVALEN_ASSETS" SDL_AUDIODRIVER=dummy
await_window 674x488
pf=$W
focus "$pf"

# ship_is SPRITE: sets SHIP_X/SHIP_Y when the ship is seen with that sprite.
ship_is() {
  local at
  shot "$pf" "$E2E_TMP/steer.png" || return 1
  at=$(find_ship_anywhere "$E2E_TMP/steer.png" "$E2E_TMP/$1.png")
  [ -n "$at" ] || return 1
  read -r SHIP_X SHIP_Y <<<"$at"
}

ship_is nave || fail "no ship near its start place"
[ "$SHIP_X $SHIP_Y" = "370 440" ] || fail "the ship starts at $SHIP_X,$SHIP_Y"

xdotool key Down
wait_until 15 "the clock to reach 1" clock_at_least "$pf" 1
ship_is nave && [ "$SHIP_X $SHIP_Y" = "370 440" ] ||
  fail "Down moved or turned the ship before it had gone up"

xdotool key Up
last_y=440
climbed() {
  ship_is nave || return 1
  [ "$SHIP_X" -eq 370 ] || fail "going up, the ship drifted to x=$SHIP_X"
  ((SHIP_Y <= last_y)) || fail "going up, the ship went down from $last_y to $SHIP_Y"
  (((440 - SHIP_Y) % 5 == 0)) || fail "the ship is at y=$SHIP_Y, off its 5-pixel steps"
  last_y=$SHIP_Y
  ((SHIP_Y <= 370))
}
wait_until 30 "the ship to climb to y 370" climbed

xdotool key Left
# Until the key is handled the ship keeps climbing in its old look.
turned() {
  ship_is nave && { last_y=$SHIP_Y; return 1; }
  ship_is navei || return 1
  ((SHIP_Y <= last_y)) || fail "turning left, the ship went down from $last_y to $SHIP_Y"
}
wait_until 30 "the ship to turn left" turned
row=$SHIP_Y
x0=$SHIP_X
moved_left() {
  ship_is navei || return 1
  [ "$SHIP_Y" -eq "$row" ] || fail "going left, the ship's row changed from $row to $SHIP_Y"
  ((SHIP_X <= x0 - 20))
}
wait_until 30 "the ship to move left" moved_left

wait_until 30 "the clock to pass 5 s" clock_at_least "$pf" 6
viewable "$pf" || fail "the playing field is gone although the ship dodged everything"
[ -z "$(visible_game_windows | grep -v "^$pf\$")" ] || fail "the results window came up"
ship_is navei || fail "the ship is wrecked or lost"

wm_close "$pf"
rc=$(game_exit_status)
[ "$rc" -eq 0 ] || fail "closing the playing field ended the game with status $rc"
note "ok"
