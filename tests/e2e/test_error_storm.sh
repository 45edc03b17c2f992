#!/usr/bin/env bash
# Without navedestruida.gif every hit fails to show the wreck, so the ship is
# never wrecked and an idle game's meteor goes on hitting it on each of its
# ticks for about 0.4 s from 3.6 s: an error every 50 ms. They must all land
# in one error window (its text counts them) rather than pile up new windows,
# and the game must carry on: the clock counts, the keys steer, and closing
# the playing field still ends it with status 0.
source "$(dirname "$0")/lib.sh"

assets="$E2E_TMP/assets"
cp -r "$KORVALEN_ASSETS" "$assets"
rm "$assets/navedestruida.gif"

start_x
learn_clock 8
# Every window the window manager ever manages shows up in this log, however
# briefly it was mapped.
xprop -root -spy _NET_CLIENT_LIST >"$E2E_TMP/clients.log" 2>&1 &
E2E_PIDS+=($!)
wait_until 10 "xprop to watch the client list" test -s "$E2E_TMP/clients.log"

start_game "$assets" SDL_AUDIODRIVER=dummy
await_window 674x488
pf=$W

error_windows() { xdotool search --name '^Korvalen$' 2>/dev/null || true; }
dialog_up() {
  DIALOG=$(error_windows | head -n1) && [ -n "$DIALOG" ] && viewable "$DIALOG"
}
wait_until 20 "the error window" dialog_up
[ "$(wm_name "$DIALOG")" = Korvalen ] || fail "error window caption is '$(wm_name "$DIALOG")'"

# Through the storm and past it: one error window, the playing field still
# up, the clock still counting.
clock_ok() {
  local n
  n=$(error_windows | grep -c .)
  ((n == 1)) || fail "$n error windows exist"
  viewable "$pf" || fail "the playing field went away"
  clock_at_least "$pf" 6
}
wait_until 30 "the clock to count on to 6 past the storm" clock_ok
shot "$DIALOG" "$E2E_TMP/dialog.png" || fail "cannot read the error window"

# The keys still reach the game: Up turns the ship to nave.gif and it climbs
# off the bottom edge.
focus "$pf"
convert "$assets/nave.gif" -background black -flatten "$E2E_TMP/nave.png"
xdotool key Up
climbed() {
  shot "$pf" "$E2E_TMP/up.png" || return 1
  read -r _ y < <(find_ship_anywhere "$E2E_TMP/up.png" "$E2E_TMP/nave.png") || return 1
  [ -n "${y:-}" ] && ((y < 430))
}
wait_until 20 "the ship to climb after the storm" climbed

wm_close "$pf"
rc=$(game_exit_status)
[ "$rc" -eq 0 ] || fail "closing the playing field after the storm ended the game with status $rc"

pf_hex=$(printf '0x%x' "$pf")
dialog_hex=$(printf '0x%x' "$DIALOG")
others=$(grep -o '0x[0-9a-f]*' "$E2E_TMP/clients.log" | sort -u | grep -vx -e "$pf_hex" -e "$dialog_hex" || true)
[ -z "$others" ] || fail "windows other than the playing field and one error window were mapped: $others"
grep -q "$dialog_hex" "$E2E_TMP/clients.log" || fail "the error window was never managed"
if grep -E 'Sanitizer|runtime error' "$E2E_TMP/game.err" >/dev/null; then fail "a report on stderr"; fi
note "ok"
