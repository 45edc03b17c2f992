#!/usr/bin/env bash
# Start-up on a real X server: one playing field window, its look, the hidden
# results window, and a clean exit on SIGTERM.
source "$(dirname "$0")/lib.sh"

start_x
sim_snapshots '' 1000 0
# A driver SDL does not know stands for a machine without sound.
start_game "$KORVALEN_ASSETS" SDL_AUDIODRIVER=e2e-no-such-driver
await_window 674x488
pf=$W
shot "$pf" "$E2E_TMP/start.png" || fail "cannot read the playing field's pixels"

[ "$(wm_name "$pf")" = "$CAPTION" ] || fail "caption is '$(wm_name "$pf")'"

hints=$(xprop -id "$pf" WM_NORMAL_HINTS)
grep -q 'minimum size: 674 by 488' <<<"$hints" && grep -q 'maximum size: 674 by 488' <<<"$hints" ||
  fail "the window can be resized: $hints"

read -r x y < <(client_origin "$pf")
read -r sw sh < <(xdpyinfo | awk '/dimensions:/{split($2, d, "x"); print d[1], d[2]}')
# The frame's title bar shifts the client down, so allow for decorations.
(($(abs $((x + 337 - sw / 2))) < 40)) || fail "not centred across: client at x=$x"
(($(abs $((y + 244 - sh / 2))) < 40)) || fail "not centred down: client at y=$y"

[ "$(pixel "$E2E_TMP/start.png" 1 200)" = C0C0C0 ] || fail "left margin is not silver"
[ "$(pixel "$E2E_TMP/start.png" 300 3)" = 000000 ] || fail "top bar is not black"
# Only the meteor and the odd star move in the first moments, so the screen
# must match the headless render almost everywhere.
diff=$(differing_pixels "$E2E_TMP/start.png" "$E2E_TMP/sim/0.png")
((diff < 1500)) || fail "$diff pixels differ from the headless render"

results=""
for w in $(game_windows); do [ "$w" != "$pf" ] && results=$w; done
[ -n "$results" ] || fail "no results window was created"
viewable "$results" && fail "the results window is shown at start"
[ "$(client_size "$results")" = 677x453 ] || fail "results window is $(client_size "$results")"
[ "$(wm_name "$results")" = "$CAPTION" ] || fail "results caption is '$(wm_name "$results")'"

n=$(grep -c 'no audio output available; playing silently' "$E2E_TMP/game.err" || true)
[ "$n" -eq 1 ] || fail "expected one 'playing silently' notice, saw $n"

kill -TERM "$GAME_PID"
rc=$(game_exit_status)
[ "$rc" -eq 0 ] || fail "SIGTERM ended the game with status $rc"
note "ok"
