#!/usr/bin/env bash
# The simulator's command line: bad scripts, endings, pictures.
set -uo pipefail
sim=$1 assets=$2
cd "$assets" || exit 1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
check() {  # description, condition...
  local what=$1; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; fail=1; fi
}

# Bad scripts: exit 2, the line named, nothing run (no output).
bad_case() {  # text, expected line number
  printf '%b' "$1" > "$tmp/bad.script"
  "$sim" --script "$tmp/bad.script" > "$tmp/out" 2> "$tmp/err"
  local rc=$?
  check "bad script '$1': exit 2" test "$rc" -eq 2
  check "bad script '$1': names line $2" grep -q "line $2" "$tmp/err"
  check "bad script '$1': nothing run" test ! -s "$tmp/out"
}
bad_case '100 up\n50 down\n' 2
bad_case '# fine\n\n100 jump\n' 3
bad_case '-5 up\n' 1
bad_case 'abc up\n' 1
bad_case '100\n' 1
bad_case '100 key\n' 1
bad_case '100 key 70000\n' 1
bad_case '100 up now\n' 1
"$sim" --bogus < /dev/null > /dev/null 2>&1
check "unknown option: exit 2" test $? -eq 2

# Endings.
out=$(echo "" | "$sim")
check "empty script ends at the hand-over" \
  test "$(tail -n1 <<< "$out")" = '{"t":4600,"end":"results","puntos":"4","nivel":""}'
out=$(echo "" | "$sim" --until 2500)
check "until" test "$(tail -n1 <<< "$out")" = '{"t":2500,"end":"until","puntos":"2","nivel":""}'
out=$(printf '1500 close # by the window button\n' | "$sim")
check "close" test "$(tail -n1 <<< "$out")" = '{"t":1500,"end":"closed","puntos":"1","nivel":""}'
out=$(echo "" | "$sim" --trace --until 1000)
check "trace after the clock's tick" grep -q '"t":1000,"segundos":1,"navex":370,"navey":440' <<< "$out"
check "trace names destruida as a boolean" grep -q '"destruida":false' <<< "$out"
printf '0 up\n' > "$tmp/s"
out=$("$sim" < "$tmp/s" --until 3000 --trace)
check "script from standard input" grep -q '"navey":410' <<< "$out"

# Pictures.
echo "" | "$sim" --snapshot 0:"$tmp/a.png" --snapshot 4600:"$tmp/b.png" --record "$tmp/r.gif" > /dev/null
check "snapshot at 0 is a PNG" bash -c "head -c 8 '$tmp/a.png' | od -An -c | grep -q 'P   N   G'"
check "snapshot after the hand-over" test -s "$tmp/b.png"
check "recording is a GIF" bash -c "head -c 6 '$tmp/r.gif' | grep -q GIF89a"
size=$(stat -c %s "$tmp/r.gif")
check "recording is small ($size bytes)" test "$size" -lt 3000000

# A start-up failure ends the simulator as it ends the game.
mkdir "$tmp/game" && cp -r ./* "$tmp/game/" && rm "$tmp/game/sfx/ufo.wav"
(cd "$tmp/game" && echo "" | "$sim" > "$tmp/out" 2> "$tmp/err")
rc=$?
check "missing sound: non-zero exit" test "$rc" -ne 0
check "missing sound: named" grep -q "sfx/ufo.wav" "$tmp/err"
check "missing sound: no JSON" test ! -s "$tmp/out"
exit $fail
