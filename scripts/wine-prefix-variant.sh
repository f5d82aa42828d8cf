#!/usr/bin/env bash
# Makes a copy of the test prefix with some registry settings changed, once,
# so that tests can see the component under another system setup (the frame
# metrics of current Windows, a scaled display). The settings are a .reg file
# under tests/prefixes; the copy is PREFIX-NAME, NAME being the file's name.
# Usage: wine-prefix-variant.sh PREFIX SETTINGS.reg
set -euo pipefail

base=$(realpath "$1")
settings=$(realpath "$2")
variant="$base-$(basename "$settings" .reg)"
stamp="$variant/.vardolin-variant-ready"
[ -f "$stamp" ] && [ "$stamp" -nt "$settings" ] && exit 0

echo "Creating Wine prefix $variant"
rm -rf "$variant"
cp -a "$base" "$variant"
export WINEPREFIX="$variant" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8
unset DISPLAY
/usr/lib/wine/wine64 regedit /S "Z:${settings//\//\\}"
wineserver -w
touch "$stamp"
