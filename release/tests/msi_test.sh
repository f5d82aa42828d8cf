#!/usr/bin/env bash
# The installer packages of `make dist` under Wine's msiexec, after
# release_test.sh built them: for each bitness, a per-user install puts the
# DLL where install.cmd does, with the Pic folder and the shortcut
# "Vardolin 照片" in Pictures, and writes the same class and ProgID keys as
# `regsvr32 /n /i:user`; uninstalling leaves nothing but Pic with its photos.
# Installed for the machine (ALLUSERS=1, into %ProgramData%\Vardolin), both
# classes are created from the script host of that bitness (Wine's COM reads
# only the machine's classes).
# A package of a lower version is replaced by the current one.
# In release_test.sh's prefix, BUILD/wineprefix-release.
# Usage: msi_test.sh BUILD
set -uo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "$1")
export WINEPREFIX=$build/wineprefix-release WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8
unset DISPLAY
wine64=/usr/lib/wine/wine64 wine32=/usr/lib/wine/wine
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/win64/CMakeCache.txt")
work=$(mktemp -d)
passed=0 failed=0
ok() { passed=$((passed + 1)); }
bad() { failed=$((failed + 1)); echo "FAIL: $*"; }
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT

wineserver -w
wineserver -p
local_app_data=$($wine64 cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')
installed=$(winepath -u "$local_app_data\\Vardolin")
machine=$(winepath -u "$($wine64 cmd /c 'echo %ProgramData%' | tr -d '\r')\\Vardolin")
# Wine links Pictures to the Linux home folder; Windows has a folder there,
# with the user's pictures in it (Wine's uninstall removes it when empty).
pictures=$(winepath -u "$($wine64 cmd /c 'echo %USERPROFILE%' | tr -d '\r')\\Pictures")
[ -L "$pictures" ] && rm "$pictures"
mkdir -p "$pictures" && echo picture > "$pictures/holiday.jpg"
shortcut="$pictures/Vardolin 照片.lnk"

reg() { local bits=$1; shift; if [ "$bits" = 32 ]; then $wine32 reg "$@"; else $wine64 reg "$@"; fi; }
# The class and ProgID keys registration writes (below CLSID\{...} and the
# ProgIDs), each value on a line with its key.
class_keys() {  # bits
  reg "$1" export 'HKCU\Software\Classes' "$(winepath -w "$work/export.reg")" /y >/dev/null 2>&1 || return 0
  iconv -f UTF-16 -t UTF-8 "$work/export.reg" | tr -d '\r' | awk -v clsids="$clsids" '
    /^\[/ { key = $0; keep = ($0 ~ /\\Vardolin\.(Class1|ClsJPEG)(\\|\])/) || ($0 ~ clsids); next }
    keep && NF { print key " " $0 }' | sort
}
named_keys() {  # bits hive: how many keys of that hive name Vardolin's ProgIDs or library
  reg "$1" export "$2\\Software\\Classes" "$(winepath -w "$work/export.reg")" /y >/dev/null 2>&1 || { echo 0; return; }
  iconv -f UTF-16 -t UTF-8 "$work/export.reg" | grep -ciE "Vardolin\.|$library"
}
msiexec() {  # args...: sets status
  $wine64 msiexec "$@" /qn >/dev/null 2>&1
  status=$?
}
files_left() { [ -d "$installed" ] && (cd "$installed" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | xargs); }

rows64=$($wine64 "$build/win64/bin/vardolin-registry-rows.exe" '[#VardolinDll]' '[INSTALLDIR]' 2>/dev/null | tr -d '\r')
clsids=$(grep -o '^CLSID\\{[^}]*}' <<< "$rows64" | sort -u | sed 's/^CLSID\\{//;s/}//' | paste -sd'|')
library=$(grep -o '^TypeLib\\{[^}]*}' <<< "$rows64" | head -1 | sed 's/^TypeLib\\{//;s/}//')
[ -n "$clsids" ] && [ -n "$library" ] && ok || bad "no registration rows from vardolin-registry-rows"

cat > "$work/create.vbs" <<'EOF'
Dim form, jpeg
Set form = CreateObject("Vardolin.Class1")
Set jpeg = CreateObject("Vardolin.ClsJPEG")
WScript.Echo "0 failed"
EOF
sed -i 's/$/\r/' "$work/create.vbs"

rm -rf "$installed" "$machine"
for arch in x64 x86; do
  bits=64 loader=$wine64
  [ "$arch" = x86 ] && bits=32 loader=$wine32
  package=$(winepath -w "$build/dist/vardolin-$version-$arch.msi")

  # Per user, as the package installs by default.
  msiexec /i "$package"
  [ "$status" = 0 ] && [ -f "$installed/vardolin.dll" ] && [ -d "$installed/Pic" ] && [ -f "$shortcut" ] \
    && ok || bad "$arch per user: status $status, files: $(files_left), shortcut: $(ls "$pictures")"
  class_keys "$bits" > "$work/by-package.txt"
  [ -s "$work/by-package.txt" ] && grep -qi 'InprocServer32' "$work/by-package.txt" && ok || bad "$arch: no class keys per user"
  echo photo > "$installed/Pic/甲.jpg"
  msiexec /x "$package"
  [ "$status" = 0 ] && [ "$(files_left)" = "Pic/甲.jpg" ] && [ ! -e "$shortcut" ] \
    && ok || bad "$arch uninstall: status $status, left: $(files_left), shortcut: $(ls "$pictures")"
  [ "$(named_keys "$bits" HKCU)" = 0 ] && ok || bad "$arch uninstall left keys in the user's classes"
  rm -rf "$installed"

  # The same keys as regsvr32 /n /i:user of the DLL in the same place.
  unzip -q -j -o "$build/dist/vardolin-$version.zip" "vardolin-$version/$arch/vardolin.dll" -d "$installed"
  (cd "$installed" && $loader regsvr32 /s /n /i:user vardolin.dll)
  class_keys "$bits" > "$work/by-regsvr32.txt"
  (cd "$installed" && $loader regsvr32 /u /s /n /i:user vardolin.dll)
  rm -rf "$installed"
  diff -i "$work/by-regsvr32.txt" "$work/by-package.txt" > "$work/diff.txt" && ok ||
    bad "$arch: the package's class keys differ from regsvr32 /n /i:user: $(cat "$work/diff.txt")"

  # For the machine, in the machine's application data (one user's private
  # folder cannot serve the others): the script host of this bitness
  # creates both classes.
  msiexec /i "$package" ALLUSERS=1
  said=$(cd "$work" && $loader cscript create.vbs 2>/dev/null | tr -d '\r')
  [ "$status" = 0 ] && [ -f "$machine/vardolin.dll" ] && [ "$said" = "0 failed" ] \
    && ok || bad "$arch ALLUSERS=1: status $status, cscript said '$said'"
  msiexec /x "$package" ALLUSERS=1
  [ "$status" = 0 ] && [ ! -e "$machine/vardolin.dll" ] && [ "$(named_keys "$bits" HKLM)" = 0 ] \
    && ok || bad "$arch ALLUSERS=1 uninstall: status $status"
  rm -rf "$installed" "$machine"
done

# An older package is replaced: after the upgrade, uninstalling the current
# one leaves nothing, so nothing of the older one stayed installed.
printf '%s\n' "$rows64" > "$work/rows.txt"
unzip -q -j -o "$build/dist/vardolin-$version.zip" "vardolin-$version/x64/vardolin.dll" -d "$work/old"
python3 release/msi.py x64 0.9.0 "$work/old/vardolin.dll" "$work/rows.txt" "$work/old.msi" || bad "no older package"
msiexec /i "$(winepath -w "$work/old.msi")"
old_status=$status
msiexec /i "$(winepath -w "$build/dist/vardolin-$version-x64.msi")"
[ "$old_status" = 0 ] && [ "$status" = 0 ] && [ -f "$installed/vardolin.dll" ] && ok || bad "upgrade: status $old_status then $status"
msiexec /x "$(winepath -w "$build/dist/vardolin-$version-x64.msi")"
[ "$status" = 0 ] && [ -z "$(files_left)" ] && [ "$(named_keys 64 HKCU)" = 0 ] && [ ! -e "$shortcut" ] \
  && ok || bad "after the upgrade, uninstalling left: $(files_left) $(named_keys 64 HKCU) keys"
rm -rf "$installed"

echo "packages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
