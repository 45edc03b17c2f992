#!/usr/bin/env bash
# test_missing_file.sh FILE HOW: starts the game in a copy of the assets that
# lacks sfx/FILE. Start-up must fail with a message naming the file, shown in
# a "Korvalen" dialog that stays until dismissed HOW (return, escape, click or
# close); then the game exits non-zero without ever having shown its windows.
source "$(dirname "$0")/lib.sh"

file=$1 how=$2
assets="$E2E_TMP/assets"
cp -r "$KORVALEN_ASSETS" "$assets"
rm "$assets/sfx/$file"

start_x
# The window manager lists every window it manages; recording each change of
# that list shows whether a game window was ever mapped, however briefly.
xprop -root -spy _NET_CLIENT_LIST >"$E2E_TMP/clients.log" 2>&1 &
E2E_PIDS+=($!)
wait_until 10 "xprop to watch the client list" test -s "$E2E_TMP/clients.log"

start_game "$assets" SDL_AUDIODRIVER=dummy
dialog_up() {
  DIALOG=$(xdotool search --name '^Korvalen$' 2>/dev/null | head -n1) && [ -n "$DIALOG" ] && viewable "$DIALOG"
}
wait_until 20 "the error dialog" dialog_up
[ "$(wm_name "$DIALOG")" = Korvalen ] || fail "dialog caption is '$(wm_name "$DIALOG")'"
[ -z "$(visible_game_windows)" ] || fail "a game window is visible beside the dialog"

# It waits for the user, however long that takes.
sleep 0.5
game_running || fail "the game ended before the dialog was dismissed"

case $how in
  return | escape)
    focus "$DIALOG"
    xdotool key "$([ "$how" = return ] && echo Return || echo Escape)"
    ;;
  click)
    # The OK button sits centred along the bottom edge.
    read -r w h < <(client_size "$DIALOG" | tr x ' ')
    xdotool mousemove --window "$DIALOG" $((w / 2)) $((h - 27)) click 1
    ;;
  close) wm_close "$DIALOG" ;;
  *) fail "unknown way to dismiss: $how" ;;
esac

rc=$(game_exit_status)
[ "$rc" -ne 0 ] || fail "the game exited with status 0"
grep -qx "korvalen: sfx/$file: file not found" "$E2E_TMP/game.err" ||
  fail "no 'korvalen: sfx/$file: file not found' on stderr"

dialog_hex=$(printf '0x%x' "$DIALOG")
others=$(grep -o '0x[0-9a-f]*' "$E2E_TMP/clients.log" | sort -u | grep -vx "$dialog_hex" || true)
[ -z "$others" ] || fail "windows other than the dialog were mapped: $others"
note "ok"
