#!/usr/bin/env bash
# The Debian package: built with cpack from this build tree, its control data
# and file list checked, then unpacked into a scratch root (never installed on
# this machine) and its launcher run from elsewhere to see the game come up.
source "$(dirname "$0")/lib.sh"
need_tools cpack dpkg-deb dpkg desktop-file-validate appstreamcli identify

: "${KORVALEN_BUILD_DIR:?set KORVALEN_BUILD_DIR to the build tree}"
: "${KORVALEN_VERSION:?set KORVALEN_VERSION to the project version}"

cpack -G DEB --config "$KORVALEN_BUILD_DIR/CPackConfig.cmake" -B "$E2E_TMP/cpack" \
  >"$E2E_TMP/cpack.log" 2>&1 || { cat "$E2E_TMP/cpack.log" >&2; fail "cpack failed"; }
debs=("$E2E_TMP"/cpack/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one .deb, got: ${debs[*]}"
deb=${debs[0]}

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = korvalen ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$KORVALEN_VERSION" ] || fail "Version is '$(field Version)'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[ -n "$(field Maintainer)" ] && [ -n "$(field Description)" ] || fail "no Maintainer or Description"

# One relation a line, version constraints dropped, so that each must be
# there as a whole; the font may come from either package.
field Depends | tr ',' '\n' | sed 's/([^)]*)//g; s/^ *//; s/ *$//; s/  */ /g' >"$E2E_TMP/depends.txt"
for dep in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libsdl2-ttf-2.0-0 libgif7 libfontconfig1 zlib1g \
  timgm6mb-soundfont "fonts-liberation2 | fonts-dejavu-core"; do
  grep -qxF "$dep" "$E2E_TMP/depends.txt" || fail "Depends lacks '$dep': $(field Depends)"
done

# Exactly these files: nothing from the build tree, the tools or formdata.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort >"$E2E_TMP/files.txt"
sort >"$E2E_TMP/expected.txt" <<'EOF'
./usr/bin/korvalen
./usr/libexec/korvalen/korvalen
./usr/share/applications/korvalen.desktop
./usr/share/icons/hicolor/128x128/apps/korvalen.png
./usr/share/icons/hicolor/256x256/apps/korvalen.png
./usr/share/icons/hicolor/32x32/apps/korvalen.png
./usr/share/icons/hicolor/48x48/apps/korvalen.png
./usr/share/icons/hicolor/64x64/apps/korvalen.png
./usr/share/korvalen/nave.gif
./usr/share/korvalen/navea.gif
./usr/share/korvalen/naved.gif
./usr/share/korvalen/navedestruida.gif
./usr/share/korvalen/navei.gif
./usr/share/korvalen/sfx/Tema.mid
./usr/share/korvalen/sfx/ex.wav
./usr/share/korvalen/sfx/spacebeep.wav
./usr/share/korvalen/sfx/ufo.wav
./usr/share/metainfo/com.example.mirtoska.korvalen.metainfo.xml
EOF
diff -u "$E2E_TMP/expected.txt" "$E2E_TMP/files.txt" >&2 || fail "the package's files differ"

root="$E2E_TMP/root"
dpkg -x "$deb" "$root"
for f in usr/bin/korvalen usr/libexec/korvalen/korvalen; do
  [ -x "$root/$f" ] || fail "$f is not executable"
done
for f in "$KORVALEN_ASSETS"/nave*.gif "$KORVALEN_ASSETS"/sfx/*; do
  cmp -s "$f" "$root/usr/share/korvalen/${f#"$KORVALEN_ASSETS"/}" || fail "${f##*/} differs from the assets"
done

desktop="$root/usr/share/applications/korvalen.desktop"
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
grep -qx 'Name=Korvalen' "$desktop" || fail "desktop entry Name is not Korvalen"
grep -qx 'Categories=Game;ArcadeGame;' "$desktop" || fail "desktop entry categories are wrong"
exec_cmd=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$root/usr/bin/$exec_cmd" ] || fail "the desktop entry runs '$exec_cmd', which is not in /usr/bin"
icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 32 48 64 128 256; do
  png="$root/usr/share/icons/hicolor/${size}x$size/apps/$icon.png"
  [ "$(identify -format '%m %wx%h' "$png" 2>/dev/null)" = "PNG ${size}x$size" ] || fail "no ${size}px PNG icon '$icon'"
done
appstreamcli validate --no-net "$root/usr/share/metainfo/com.example.mirtoska.korvalen.metainfo.xml" \
  >"$E2E_TMP/appstream.log" 2>&1 || { cat "$E2E_TMP/appstream.log" >&2; fail "the metainfo does not validate"; }

# Started through a link from an unrelated directory, as a menu or a
# /usr/games link would, it must still find its files.
elsewhere="$E2E_TMP/elsewhere"
mkdir -p "$elsewhere"
ln -s "$root/usr/bin/korvalen" "$elsewhere/play"
start_x
learn_clock 3
KORVALEN="$elsewhere/play" start_game "$elsewhere" SDL_AUDIODRIVER=dummy
await_window 674x488
shot "$W" "$E2E_TMP/installed.png" || fail "cannot read the window's pixels"
[ "$(pixel "$E2E_TMP/installed.png" 1 200)" = C0C0C0 ] || fail "the installed game's window is not drawn"
wait_until 20 "the installed game's clock to count" clock_at_least "$W" 1
wm_close "$W"
rc=$(game_exit_status)
[ "$rc" -eq 0 ] || fail "the installed game exited with status $rc"
note "ok"
