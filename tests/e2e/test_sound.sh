#!/usr/bin/env bash
# What the game plays, recorded through SDL's disk audio driver in an idle
# game: the theme from the start, the beep a second in, and the explosion when
# the meteor hits, each standing out from the theme.
source "$(dirname "$0")/lib.sh"

raw="$E2E_TMP/audio.raw"
# The raw file has no header: this must match how platform/sdl/sdl_audio.cpp
# opens the device (signed 16-bit native-endian stereo at 22050 Hz), which the
# disk driver writes out as it is.
readonly RATE=22050 BYTES_PER_SECOND=$((22050 * 2 * 2))

start_x
start_game "$KORVALEN_ASSETS" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$raw"
await_window 674x488
await_window 677x453 30
long_enough() { [ -f "$raw" ] && (($(stat -c %s "$raw") >= 6 * BYTES_PER_SECOND)); }
wait_until 30 "six seconds of recorded sound" long_enough
wm_close "$W"
rc=$(game_exit_status)
[ "$rc" -eq 0 ] || fail "the game exited with status $rc"
grep -q 'playing silently' "$E2E_TMP/game.err" && fail "the game did not use the disk audio device"

# RMS of each tenth of a second, mono, over the full band and above 3 kHz.
# The synthesised theme has next to nothing above 3 kHz, while the beep and the
# explosion have plenty, so the high band tells the effects apart from it.
rms() {
  sox -t raw -r $RATE -e signed -b 16 -c 2 "$raw" -t dat - remix 1v0.5,2v0.5 "$@" |
    awk -v per=$((RATE / 10)) 'NR > 2 { s += $2 * $2; if (++n == per) { printf "%.5f\n", sqrt(s / n); n = 0; s = 0 } }'
}
paste <(rms) <(rms highpass 3000) >"$E2E_TMP/rms.txt"

# Times are in tenths of a second of the recording. The disk driver paces
# itself by sleeping between buffers rather than by a clock, so the recording
# only roughly follows the game's time: the events' order is checked, and
# their spacing only loosely.
awk '
  { full[NR - 1] = $1; high[NR - 1] = $2; n = NR }
  function fail(why) { print "FAIL: " why > "/dev/stderr"; bad = 1; exit 1 }
  END {
    if (bad) exit 1
    for (t0 = 0; t0 < n && full[t0] < 0.005; t0++);
    if (t0 > 20) fail("no sound in the first two seconds")
    for (t = t0; t < t0 + 4; t++) if (full[t] < 0.003) fail("the theme drops out at " t / 10 " s")
    for (tb = t0; tb < n && high[tb] < 0.01; tb++);
    if (tb - t0 < 3 || tb - t0 > 16) fail("no beep about a second after the theme starts")
    for (t = tb; t < n && high[t] >= 0.005; t++);
    for (te = t; te < n && high[te] < 0.01; te++);
    if (te >= n) fail("no explosion after the beep")
    if (te - tb < 6 || te - t0 < 25 || te - t0 > 46) fail("the first burst after the beep is at " (te - t0) / 10 " s, not at the hit")
    # The theme alone, between the beep and the hit, for comparison.
    m = 0
    for (t = t + 2; t < te - 1; t++) theme[m++] = full[t]
    if (m < 5) fail("too little theme between the beep and the hit")
    for (i = 1; i < m; i++)  # insertion sort: mawk has no asort
      for (j = i; j > 0 && theme[j - 1] > theme[j]; j--) { x = theme[j]; theme[j] = theme[j - 1]; theme[j - 1] = x }
    median = theme[int(m / 2)]
    loudest = 0
    for (t = te; t < te + 6 && t < n; t++) if (full[t] > loudest) loudest = full[t]
    if (loudest < 2 * median) fail("the explosion (" loudest ") is not louder than the theme (" median ")")
    printf "# theme from %.1f s, beep at +%.1f s, explosion at +%.1f s, %.1fx the theme\n",
      t0 / 10, (tb - t0) / 10, (te - t0) / 10, loudest / median
  }' "$E2E_TMP/rms.txt" || fail "the recording does not sound right (RMS per 0.1 s in rms.txt)"
note "ok"
