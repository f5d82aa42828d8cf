#!/usr/bin/env bash
# The window-thread part of `make bench`: what the live preview costs the
# spreadsheet's UI thread with a 1920 x 1080 camera and with a 320 x 240 one.
# Runs vardolin-window-bench.exe (a stand-in host that runs the macro and
# measures its own thread with GetThreadTimes) in a Wine prefix of its own
# ($BUILD/bench/wineprefix: vardolin.dll and the demo camera registered), on
# a private Xvfb, once per camera.
# Usage: bench-window.sh [BUILD] (default build; needs $BUILD/win64 built)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath -m "${1:-${BUILD:-build}}")
bench=$build/bench
bin=$bench/bin
wine64=/usr/lib/wine/wine64
seconds=${BENCH_SECONDS:-10}

mkdir -p "$bin"
for f in vardolin.dll vardolin-democam.dll vardolin-window-bench.exe demo-roster.csv; do
  cp -p "$build/win64/bin/$f" "$bin/"
done

bash scripts/wine-prefix.sh "$bench/wineprefix"
export WINEPREFIX=$bench/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8
wineserver -k 2>/dev/null || true
wineserver -w
(cd "$bin" && "$wine64" regsvr32 /s vardolin.dll && "$wine64" regsvr32 /s vardolin-democam.dll)
# The designed photo size: the camera runs in the format the preview asks for.
"$wine64" reg delete 'HKCU\Software\Vardolin' /f >/dev/null 2>&1 || true
wineserver -w

echo "Window thread while the preview runs (GetThreadTimes over $seconds s, Wine, one core = 100 %):"
bash scripts/with-xvfb.sh bash -c '
  set -e
  wineserver -p
  /usr/lib/wine/wine64 cmd /c exit 0 >/dev/null 2>&1 </dev/null
  cd "$1"
  VARDOLIN_DEMOCAM="sizes=1920x1080" /usr/lib/wine/wine64 vardolin-window-bench.exe "  1920 x 1080 camera" "$2"
  VARDOLIN_DEMOCAM="sizes=320x240" /usr/lib/wine/wine64 vardolin-window-bench.exe "  320 x 240 camera " "$2"
' bench-window "$bin" "$seconds"
