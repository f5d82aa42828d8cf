#!/usr/bin/env bash
# Plays the demo session on the stand-in host: starts vardolin-devhost.exe on
# the demo roster, lets vardolin-walkthrough.exe import the roster through the
# range picker, store three photos and import the roster again (the names
# photographed come back marked as done), takes a screenshot of the display,
# checks it, makes the class sheet and closes the host. With "face" the check also requires the
# last photo's frame on the face in the still (the prefix has the face
# framing option on and the camera films a face).
# Expects DISPLAY, WINEPREFIX (vardolin.dll and the demo camera registered)
# and a running wineserver.
# Usage: walkthrough.sh BIN_DIR SCREENSHOT.png [PHOTOS [face]]
set -euo pipefail
bin=$(realpath "$1")
shot=$(realpath -m "$2")
photos=${3:-3}
check_face=${4:-}
: "${DISPLAY:?walkthrough.sh needs an X display}"
wine64=/usr/lib/wine/wine64
mkdir -p "$(dirname "$shot")"
rm -f "$shot"

# Our own programs take any argument as a path; Wine sees the Unix root as Z:.
windows_path() { local p=${1//\//\\}; echo "Z:$p"; }

cd "$bin"
"$wine64" vardolin-devhost.exe demo-roster.csv &
host=$!
trap 'kill $host 2>/dev/null || true; wait $host 2>/dev/null || true' EXIT

"$wine64" vardolin-walkthrough.exe play demo-roster.csv "$photos"
sleep 1   # the last repaints
xwd -root -silent | /usr/bin/convert xwd:- "png:$shot"
"$wine64" vardolin-walkthrough.exe check "$(windows_path "$shot")" $check_face
# After the screenshot: the class sheet opens in the browser. Windows gives
# .html files to the browser; Wine's prefix knows the browser (htmlfile) but
# not the files, and would ask for a program in a dialog that never closes.
"$wine64" reg add 'HKLM\Software\Classes\.html' /ve /d htmlfile /f >/dev/null
"$wine64" vardolin-walkthrough.exe sheet
"$wine64" vardolin-walkthrough.exe close
wait $host
trap - EXIT
