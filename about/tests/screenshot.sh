#!/usr/bin/env bash
# Starts the About window program under Wine, waits until the window is in its
# 30-second hold, saves the window's area of the screen as PNG and checks that
# the artwork is on the screen: the title strip, the close mark, the camera.
# Usage: screenshot.sh OUT.png WINE-COMMAND... PROGRAM
set -euo pipefail
out=$1; shift
mkdir -p "$(dirname "$out")"
: "${DISPLAY:?screenshot.sh needs an X display (Xvfb)}"

"$@" &
pid=$!
trap 'kill $pid 2>/dev/null || true; wait $pid 2>/dev/null || true' EXIT

geometry=
for _ in $(seq 150); do
  # e.g.  0x1e00004 "Form1": ()  500x350+390+337  +390+337
  geometry=$(xwininfo -root -tree 2>/dev/null | grep '"Form1"' | grep -o '[0-9]*x[0-9]*+[0-9-]*+[0-9-]*' | head -1 || true)
  [ -n "$geometry" ] && break
  kill -0 $pid 2>/dev/null || { echo "the program ended before the About window appeared" >&2; exit 1; }
  sleep 0.1
done
[ -n "$geometry" ] || { echo "no About window on the display" >&2; exit 1; }
sleep 3   # the fade-in takes about a second; the hold lasts 30

xwd -root -silent | /usr/bin/convert xwd:- -crop "$geometry" +repage "png:$out"
echo "screenshot of $geometry saved to $out"

failed=0
check() {  # check WHAT X Y R G B: each channel of the pixel within 32 of the drawing
  local got want=("$4" "$5" "$6") i d
  got=($(/usr/bin/convert "$out" -crop "1x1+$2+$3" -depth 8 -format '%[fx:int(255*r+.5)] %[fx:int(255*g+.5)] %[fx:int(255*b+.5)]' info:))
  for i in 0 1 2; do
    d=$((got[i] - want[i]))
    if [ ${d#-} -gt 32 ]; then echo "FAILED: $1 at $2,$3 is ${got[*]}" >&2; failed=1; return; fi
  done
  echo "ok: $1 (${got[*]})"
}
check "title strip" 250 10 10 26 42
check "close mark" 474 17 176 58 46
check "camera lens" 125 170 159 211 239
exit $failed
