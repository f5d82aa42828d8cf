#!/usr/bin/env bash
# Makes a copy of the test prefix with some registry settings changed, once,
# so that tests can see the component under another system setup (the frame
# metrics of current Windows, a scaled display). The settings are a .reg file
# under tests/prefixes; the copy is PREFIX-NAME, NAME being the file's name.
# Without settings (a NAME alone) the copy is plain: another prefix for
# tests that run beside the first one's.
# Usage: wine-prefix-variant.sh PREFIX SETTINGS.reg|NAME
set -euo pipefail

base=$(realpath "$1")
if [ -f "$2" ]; then
  settings=$(realpath "$2")
  variant="$base-$(basename "$settings" .reg)"
else
  settings=""
  variant="$base$2"
fi
stamp="$variant/.vardolin-variant-ready"
[ -f "$stamp" ] && { [ -z "$settings" ] || [ "$stamp" -nt "$settings" ]; } && exit 0

echo "Creating Wine prefix $variant"
rm -rf "$variant"
cp -a "$base" "$variant"
rm -f "$variant/.vardolin-variant-ready"
if [ -n "$settings" ]; then
  export WINEPREFIX="$variant" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8
  unset DISPLAY
  /usr/lib/wine/wine64 regedit /S "Z:${settings//\//\\}"
  wineserver -w
fi
touch "$stamp"
