#!/usr/bin/env bash
# Runs a command with DISPLAY set to a private Xvfb server, then stops the
# server (and the wineserver of $WINEPREFIX, whose programs use the display).
# Usage: with-xvfb.sh COMMAND [ARG...]
set -euo pipefail

tmp=$(mktemp -d)
xpid=
cleanup() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -n "$xpid" ]; then kill "$xpid" 2>/dev/null || true; wait "$xpid" 2>/dev/null || true; fi
  rm -rf "$tmp"
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number once it accepts
# connections.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xpid=$!
for _ in $(seq 100); do
  [ -s "$tmp/display" ] && break
  kill -0 "$xpid" 2>/dev/null || { cat "$tmp/xvfb.log" >&2; exit 1; }
  sleep 0.1
done
[ -s "$tmp/display" ] || { echo "with-xvfb: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$tmp/display")"

"$@"
