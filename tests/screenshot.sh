#!/usr/bin/env bash
# Starts a window program under Wine, waits until a window whose title starts
# with TITLE is on the display, lets it draw for SETTLE seconds, saves the
# window's area of the screen as PNG, and ends the program.
# Usage: screenshot.sh OUT.png TITLE SETTLE WINE-COMMAND... PROGRAM
set -euo pipefail
out=$1 title=$2 settle=$3; shift 3
mkdir -p "$(dirname "$out")"
: "${DISPLAY:?screenshot.sh needs an X display (Xvfb)}"

"$@" &
pid=$!
trap 'kill $pid 2>/dev/null || true; wait $pid 2>/dev/null || true' EXIT

geometry=
for _ in $(seq 150); do
  # e.g.  0x1e00004 "Vardolin 照片采集": ()  644x312+318+356  +318+356
  geometry=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$title" | grep -o '[0-9]*x[0-9]*+[0-9-]*+[0-9-]*' | head -1 || true)
  [ -n "$geometry" ] && break
  kill -0 $pid 2>/dev/null || { echo "the program ended before its window \"$title\" appeared" >&2; exit 1; }
  sleep 0.1
done
[ -n "$geometry" ] || { echo "no window \"$title\" on the display" >&2; exit 1; }
sleep "$settle"

xwd -root -silent | /usr/bin/convert xwd:- -crop "$geometry" +repage "png:$out"
echo "screenshot of $geometry saved to $out"
