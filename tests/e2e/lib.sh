# Shared helpers for the end-to-end tests, sourced by each test script.
#
# Every test gets its own X server and window manager so that tests can run in
# parallel and nothing depends on the developer's desktop. Waits poll for a
# condition with a deadline: a loaded two-core machine can be many times slower
# than an idle one, so fixed sleeps would either flake or waste time.
#
# Expects KORVALEN (the game), KORVALEN_SIM (the headless simulator) and
# KORVALEN_ASSETS (the folder the game runs in) in the environment.

set -euo pipefail

: "${KORVALEN:?set KORVALEN to the game binary}"
: "${KORVALEN_ASSETS:?set KORVALEN_ASSETS to the assets folder}"

readonly CAPTION="     KORVALEN BY MIRTOSKA SOFTWARE"
# xdotool matches names as case-insensitive regular expressions.
readonly CAPTION_RE="^     KORVALEN BY MIRTOSKA SOFTWARE\$"

E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/korvalen-e2e.XXXXXX")
E2E_PIDS=()
GAME_PID=""
unset WAYLAND_DISPLAY  # SDL would otherwise prefer a developer's Wayland session

note() { echo "# $*"; }
# A machine without the test tools skips the test (CTest's SKIP_RETURN_CODE)
# instead of failing it; tools/install-deps.sh installs them all.
need_tools() {
  local t missing=()
  for t in "$@"; do command -v "$t" >/dev/null 2>&1 || missing+=("$t"); done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "SKIP: missing ${missing[*]}" >&2
    exit 77
  fi
}

abs() { echo $(($1 < 0 ? -$1 : $1)); }

fail() {
  echo "FAIL: $*" >&2
  for f in "$E2E_TMP"/game.err "$E2E_TMP"/game.out; do
    [ -s "$f" ] && { echo "--- ${f##*/}:" >&2; tail -n 20 "$f" >&2; }
  done
  echo "(screenshots and logs kept in $E2E_TMP)" >&2
  E2E_KEEP=1
  exit 1
}

e2e_cleanup() {
  local i
  for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
    kill "${E2E_PIDS[i]}" 2>/dev/null || true
  done
  for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
    wait "${E2E_PIDS[i]}" 2>/dev/null || true
  done
  [ -n "${E2E_KEEP:-}" ] || rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

now_ms() {
  local t=${EPOCHREALTIME/./}
  echo $((t / 1000))
}

# wait_until SECONDS DESCRIPTION COMMAND...
wait_until() {
  local limit=$1 what=$2
  shift 2
  local deadline=$(($(now_ms) + limit * 1000))
  until "$@"; do
    (($(now_ms) < deadline)) || fail "timed out after ${limit}s waiting for $what"
    sleep 0.1
  done
}

# ---- The X server and window manager

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

start_x() {
  need_tools Xvfb openbox xdotool xprop xwininfo xdpyinfo wmctrl xmessage import convert compare sox
  # A screen well larger than the game so that other windows can sit beside it:
  # a covered part of a window reads back as garbage without a compositor.
  Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1280x1024x24 \
    3>"$E2E_TMP/displayfd" >"$E2E_TMP/xvfb.log" 2>&1 &
  E2E_PIDS+=($!)
  wait_until 30 "Xvfb to accept connections" test -s "$E2E_TMP/displayfd"
  DISPLAY=:$(head -n1 "$E2E_TMP/displayfd")
  export DISPLAY
  mkdir -p "$E2E_TMP/home"
  HOME="$E2E_TMP/home" XDG_CONFIG_HOME="$E2E_TMP/home/.config" \
    XDG_CACHE_HOME="$E2E_TMP/home/.cache" openbox --sm-disable >"$E2E_TMP/openbox.log" 2>&1 &
  E2E_PIDS+=($!)
  wait_until 30 "openbox to manage the screen" wm_running
}

# ---- The game process

# start_game DIR [VAR=VALUE]...: runs the game in DIR with the given environment.
start_game() {
  local dir=$1
  shift
  rm -f "$E2E_TMP/game.pid" "$E2E_TMP/game.rc"
  (
    cd "$dir"
    env SDL_VIDEODRIVER=x11 "$@" "$KORVALEN" >"$E2E_TMP/game.out" 2>"$E2E_TMP/game.err" &
    echo $! >"$E2E_TMP/game.pid"
    rc=0
    wait $! || rc=$?
    echo "$rc" >"$E2E_TMP/game.rc"
  ) &
  E2E_PIDS+=($!)
  wait_until 10 "the game to start" test -s "$E2E_TMP/game.pid"
  GAME_PID=$(cat "$E2E_TMP/game.pid")
  E2E_PIDS+=("$GAME_PID")
}

game_running() { [ ! -s "$E2E_TMP/game.rc" ]; }

# Prints the game's exit status once it has ended.
game_exit_status() {
  wait_until "${1:-20}" "the game to exit" test -s "$E2E_TMP/game.rc"
  cat "$E2E_TMP/game.rc"
}

# ---- Windows

# Windows carrying the game's caption, mapped or not.
game_windows() { xdotool search --name "$CAPTION_RE" 2>/dev/null || true; }

viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
exists() { xwininfo -id "$1" >/dev/null 2>&1; }

visible_game_windows() {
  local w
  for w in $(game_windows); do
    if viewable "$w"; then echo "$w"; fi
  done
}

client_size() { xwininfo -id "$1" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}'; }

client_origin() {
  xwininfo -id "$1" | awk '/Absolute upper-left X:/{x=$4} /Absolute upper-left Y:/{y=$4} END{print x, y}'
}

wm_name() { xprop -id "$1" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'; }

active_window() {
  local hex
  hex=$(xprop -root _NET_ACTIVE_WINDOW | sed -n 's/.*window id # \(0x[0-9a-f]*\).*/\1/p')
  [ -n "$hex" ] && echo $((hex))
}

is_active() { [ "$(active_window)" = "$1" ]; }

# Hands the keyboard to a window the way a user's click would, through the
# window manager, and waits until it has it.
focus() {
  timeout 10 xdotool windowactivate --sync "$1" >/dev/null 2>&1 || true
  wait_until 10 "window $1 to get the focus" is_active "$1"
}

# A close request through the window manager, as the title-bar button sends it.
wm_close() { wmctrl -i -c "$1"; }

# Sets $W to the one visible game window of the given client size.
await_window() {
  local size=$1 limit=${2:-20}
  W=""
  _one_visible_of_size() {
    local ws
    ws=$(visible_game_windows)
    [ "$(echo "$ws" | grep -c .)" -eq 1 ] && [ "$(client_size "$ws")" = "$size" ] && W=$ws
  }
  wait_until "$limit" "one visible $size game window" _one_visible_of_size
}

# ---- Pixels

shot() { import -silent -window "$1" "png:$2" 2>/dev/null; }

# Prints a pixel as RRGGBB.
pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info: | cut -c1-6; }

# Prints a hash of a region's pixels, so that regions compare exactly.
region_sig() { convert "$1" -crop "$2" +repage -format '%#' info:; }

# Prints how many pixels differ by more than a small tolerance.
differing_pixels() {
  compare -metric AE -fuzz 3% "$1" "$2" null: 2>&1 >/dev/null | cut -d' ' -f1 || true
}

# sim_snapshots SCRIPT UNTIL_MS MS... : headless renders of the same game,
# written to $E2E_TMP/sim/MS.png.
sim_snapshots() {
  : "${KORVALEN_SIM:?set KORVALEN_SIM to the simulator}"
  local script=$1 until=$2 args=() ms
  shift 2
  mkdir -p "$E2E_TMP/sim"
  for ms in "$@"; do args+=(--snapshot "$ms:$E2E_TMP/sim/$ms.png"); done
  (cd "$KORVALEN_ASSETS" && printf '%b' "$script" | "$KORVALEN_SIM" --until "$until" "${args[@]}" >/dev/null)
}

# The points shown on the playing field are the game's clock in seconds. To
# read them back, the headless game renders the same label for each second.
readonly POINTS_REGION=40x16+4+32
declare -A CLOCK_BY_SIG=()

learn_clock() {
  local last=$1 s ms=()
  for ((s = 0; s <= last; s++)); do ms+=($((s * 1000))); done
  sim_snapshots '0 up\n' $((last * 1000)) "${ms[@]}"
  for ((s = 0; s <= last; s++)); do
    CLOCK_BY_SIG[$(region_sig "$E2E_TMP/sim/$((s * 1000)).png" "$POINTS_REGION")]=$s
  done
}

# Prints the seconds the playing field window shows, or nothing if unreadable.
read_clock() {
  local f="$E2E_TMP/clock.png"
  shot "$1" "$f" || return 0
  echo "${CLOCK_BY_SIG[$(region_sig "$f" "$POINTS_REGION")]:-}"
}

clock_at_least() {
  CLOCK=$(read_clock "$1")
  [ -n "$CLOCK" ] && [ "$CLOCK" -ge "$2" ]
}

# ---- The ship

# find_ship SHOT TEMPLATE X Y W H: prints "X Y" of the 30x30 ship sprite if
# it is inside the given area of a screenshot.
find_ship() {
  local f=$1 tmpl=$2 x=$3 y=$4 w=$5 h=$6 out
  convert "$f" -crop "${w}x${h}+$x+$y" +repage "$E2E_TMP/area.png"
  out=$(compare -metric RMSE -subimage-search "$E2E_TMP/area.png" "$tmpl" null: 2>&1 >/dev/null || true)
  # "1234.5 (0.0188) @ 15,40"; only a close match counts as the ship.
  echo "$out" | awk -v x="$x" -v y="$y" '{gsub(/[(),@]/, " "); if ($2 < 0.12) print x + $3, y + $4}'
}

# find_ship_anywhere SHOT TEMPLATE: the same over the whole star field. A
# full-size search of it takes ImageMagick seconds, so the sprite is first
# found at quarter size and then placed exactly in a small area around that.
find_ship_anywhere() {
  local f=$1 tmpl=$2 out cx cy
  convert "$f" -crop 594x488+80+0 +repage -scale 25% "$E2E_TMP/coarse.png"
  convert "$tmpl" -scale 25% "$E2E_TMP/coarse-tmpl.png"
  out=$(compare -metric RMSE -subimage-search "$E2E_TMP/coarse.png" "$E2E_TMP/coarse-tmpl.png" null: 2>&1 >/dev/null || true)
  read -r cx cy < <(echo "$out" | awk '{gsub(/[(),@]/, " "); print 80 + 4 * $3 - 10, 4 * $4 - 10}')
  [ -n "$cx" ] || return 0
  ((cx < 0)) && cx=0
  ((cy < 0)) && cy=0
  ((cx > 674 - 50)) && cx=$((674 - 50))
  ((cy > 488 - 50)) && cy=$((488 - 50))
  find_ship "$f" "$tmpl" "$cx" "$cy" 50 50
}
