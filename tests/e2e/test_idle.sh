#!/usr/bin/env bash
# Nobody touches the keys: the meteor wrecks the ship, the playing field gives
# way to the results window showing the points, and closing that window ends
# the game cleanly.
source "$(dirname "$0")/lib.sh"

start_x
sim_snapshots '' 7000 7000
start_game "$KORVALEN_ASSETS" SDL_AUDIODRIVER=dummy
await_window 674x488
pf=$W

await_window 677x453 30
results=$W
exists "$pf" && fail "the playing field window still exists after the hand-over"
[ "$(wm_name "$results")" = "$CAPTION" ] || fail "results caption is '$(wm_name "$results")'"

shot "$results" "$E2E_TMP/results.png" || fail "cannot read the results window's pixels"
# "GAME OVER" in lime at the top left.
lime=$(convert "$E2E_TMP/results.png" -crop 200x36+16+8 +repage -fill black +opaque '#00FF00' \
  -format '%[fx:mean*w*h]' info:)
awk -v n="$lime" 'BEGIN{exit !(n > 300)}' || fail "no lime GAME OVER text top left"

points=56x16+56+64
[ "$(region_sig "$E2E_TMP/results.png" "$points")" = "$(region_sig "$E2E_TMP/sim/7000.png" "$points")" ] ||
  fail "the points under PUNTOS differ from the headless game's 4"

# The credit line scrolls across on its own clock; leave its band out.
mask=(-fill black -draw 'rectangle 0,380 676,402')
convert "$E2E_TMP/results.png" "${mask[@]}" "$E2E_TMP/results-masked.png"
convert "$E2E_TMP/sim/7000.png" "${mask[@]}" "$E2E_TMP/sim-masked.png"
diff=$(differing_pixels "$E2E_TMP/results-masked.png" "$E2E_TMP/sim-masked.png")
((diff < 200)) || fail "$diff pixels of the results screen differ from the headless render"

wm_close "$results"
rc=$(game_exit_status)
[ "$rc" -eq 0 ] || fail "closing the results window ended the game with status $rc"
note "ok"
