#!/usr/bin/env bash
# The playing field loses the focus to another program's window and gets it
# back: its activation runs again, but the game's clock must carry on counting
# rather than start over, and the game must still respond to the keys.
source "$(dirname "$0")/lib.sh"

start_x
learn_clock 12
start_game "$KORVALEN_ASSETS" SDL_AUDIODRIVER=dummy
await_window 674x488
pf=$W
focus "$pf"
xdotool key Up  # out of the meteor's lane, so the game lasts
wait_until 20 "the clock to reach 2" clock_at_least "$pf" 2

# Top left, clear of the centred game window, whose pixels are still read.
xmessage -geometry +0+0 -name e2e-other "another program" >/dev/null 2>&1 &
E2E_PIDS+=($!)
other_window() { OTHER=$(xdotool search --classname '^e2e-other$' 2>/dev/null | head -n1) && [ -n "$OTHER" ] && viewable "$OTHER"; }
wait_until 20 "the other window" other_window
focus "$OTHER"
wait_until 20 "the clock to reach 3" clock_at_least "$pf" 3
before=$CLOCK

focus "$pf"
# Every reading from here on must be at least the last one before the switch.
counts_on() {
  clock_at_least "$pf" 0 || return 1
  ((CLOCK >= before)) || fail "the clock went back from $before to $CLOCK on regaining the focus"
  before=$CLOCK
  ((CLOCK >= 5))
}
wait_until 30 "the clock to carry on to 5" counts_on
is_active "$pf" || fail "the playing field lost the focus again"
viewable "$pf" || fail "the playing field is gone"

# The keys reach the game again: Left turns the ship (its sprite changes).
convert "$KORVALEN_ASSETS/navei.gif" -background black -flatten "$E2E_TMP/navei.png"
xdotool key Left
turned() { shot "$pf" "$E2E_TMP/turn.png" && [ -n "$(find_ship_anywhere "$E2E_TMP/turn.png" "$E2E_TMP/navei.png")" ]; }
wait_until 20 "the ship to turn left after the focus came back" turned

wm_close "$pf"
rc=$(game_exit_status)
[ "$rc" -eq 0 ] || fail "closing the playing field ended the game with status $rc"
note "ok"
