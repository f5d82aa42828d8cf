#!/usr/bin/env bash
# Starts the About window program under Wine, waits until the window is in its
# 30-second hold, saves the window's area of the screen as PNG and checks that
# the artwork is on the screen: the title strip, the close mark, the camera.
# Usage: screenshot.sh OUT.png WINE-COMMAND... PROGRAM
set -euo pipefail
out=$1; shift
# The fade-in takes about a second; the hold lasts 30.
bash "$(dirname "$0")/../../tests/screenshot.sh" "$out" Form1 3 "$@"

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
