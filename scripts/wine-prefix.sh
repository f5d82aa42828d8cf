#!/usr/bin/env bash
# Creates the Wine prefix the Windows tests run in, once: a WoW64 prefix (64-
# and 32-bit programs), X11 with a headless fallback, no window-manager waits,
# the Chinese UI fonts mapped, Wine's own fonts copied in.
# Usage: wine-prefix.sh PREFIX
set -euo pipefail

prefix=$(realpath -m "$1")
stamp="$prefix/.vardolin-ready"
[ -f "$stamp" ] && exit 0

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8
unset DISPLAY   # creating the prefix needs no display
wine64=/usr/lib/wine/wine64

echo "Creating Wine prefix $prefix"
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
"$wine64" wineboot -i >/dev/null 2>&1
wineserver -w   # wineboot returns before the prefix is complete

reg() { "$wine64" reg add "$@" /f >/dev/null 2>&1; }
reg 'HKCU\Software\Wine\Drivers' /v Graphics /d 'x11,null'
reg 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
for face in '宋体' 'SimSun'; do
  reg 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d 'WenQuanYi Zen Hei'
done
wineserver -w

# Debian's Wine never loads the fonts it ships in /usr/share/wine/fonts.
cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"

[ -d "$prefix/drive_c/windows/syswow64" ] || { echo "wine-prefix: no syswow64 (is wine32:i386 installed?)" >&2; exit 1; }
touch "$stamp"
