#!/usr/bin/env bash
# The installer packages of `make dist` under Wine's msiexec, after
# release_test.sh built them: for each bitness, a per-user install puts the
# DLL where install.cmd does, with the Pic folder and the shortcut
# "Vardolin 照片" in Pictures, and writes the same class and ProgID keys as
# `regsvr32 /n /i:user`; uninstalling leaves nothing but Pic with its photos.
# A per-user install of the other bitness is refused and leaves the first.
# The tables read back: the ACL rows of the machine's photo folders, the
# component both packages share (the same rows in both), no key path in the
# user's hive for a per-machine component.
# Both installed for the machine (ALLUSERS=1): each DLL in the Program Files
# folder of its bitness, %ProgramData%\Vardolin\Pic, the machine's photo
# folder value in each registry view; both classes are created from the
# script host of each bitness (Wine's COM reads only the machine's classes),
# and removing either package leaves the other creatable.
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
bash release/tests/shared-keys.sh "$WINEPREFIX"
wineserver -p
local_app_data=$($wine64 cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')
installed=$(winepath -u "$local_app_data\\Vardolin")
folder() { winepath -u "$($wine64 cmd /c "echo %$1%" | tr -d '\r')"; }
machine=$(folder ProgramData)/Vardolin
program_files=$(folder ProgramFiles)/Vardolin program_files_x86=$(folder 'ProgramFiles(x86)')/Vardolin
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

# --- The tables ------------------------------------------------------------
table() { msiinfo export "$build/dist/vardolin-$version-$1.msi" "$2" | tail -n +4 | tr -d '\r'; }
# The rows of the components both packages share, and the shared rows' keys.
shared_rows() {
  table "$1" Component | awk -F'\t' '$1 == "SharedRegistration" || $1 == "MachinePhotoFolder"'
  table "$1" Registry | awk -F'\t' '$6 == "SharedRegistration"'
  table "$1" CreateFolder | awk -F'\t' '$2 == "MachinePhotoFolder"'
  table "$1" Shortcut | awk -F'\t' '$4 == "MachinePhotoFolder"'
}
sddl='O:SYG:SYD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;[PHOTOUSERS])'
for arch in x64 x86; do
  locks=$(table $arch MsiLockPermissionsEx | sort)
  [ "$locks" = "$(printf 'DATADIRAcl\tDATADIR\tCreateFolder\t%s\tALLUSERS=1\nMACHINEPICDIRAcl\tMACHINEPICDIR\tCreateFolder\t%s\tALLUSERS=1' "$sddl" "$sddl")" ] &&
    [ "$(table $arch CreateFolder | grep -c $'DIR\tMachinePhotoFolder$')" = 2 ] && [ "$(table $arch Property | grep -x $'PHOTOUSERS\tBU')" ] &&
    ! msiinfo tables "$build/dist/vardolin-$version-$arch.msi" | grep -qx LockPermissions && ok || bad "$arch: ACL rows: $locks"
  # Per machine no component has its key path in the installing account's hive.
  hkcu=$(join -t $'\t' -1 2 -2 1 <(table $arch Component | awk -F'\t' '$5 != "NOT ALLUSERS=1" { print $1 "\t" $6 }' | sort -t $'\t' -k2) \
         <(table $arch Registry | awk -F'\t' '$2 == 1 { print $1 }' | sort))
  [ -z "$hkcu" ] && ok || bad "$arch: per-machine components keyed in HKCU: $hkcu"
  # Shared: the ProgIDs and the library's name and flags; in the package's
  # own components the keys of one registry view and the file's paths.
  table $arch Registry | awk -F'\t' -v arch=$arch '
    $6 == "SharedRegistration" { shared++; if ($3 !~ /^Software\\Classes\\(Vardolin\.[A-Za-z0-9]+(\\CLSID)?|TypeLib\\\{[-0-9A-F]+\}\\1\.0(\\FLAGS)?)$/) wrong = wrong " " $3 }
    $6 == "Server" && $3 !~ /^Software\\Classes\\(CLSID|Interface|TypeLib\\\{[-0-9A-F]+\}\\1\.0\\(HELPDIR|0\\win(32|64)))\\?/ { wrong = wrong " " $3 }
    END { if (shared != 6 || wrong != "") { print arch ": " shared " shared rows, misplaced:" wrong; exit 1 } }' && ok || bad "$arch: registry rows"
  table $arch LaunchCondition | grep -q $'^Installed OR ALLUSERS=1 OR NOT VARDOLINOTHERBITNESS\t.*is already installed for this user' \
    && ok || bad "$arch: no launch condition refusing the other bitness per user"
done
shared_rows x64 > "$work/shared64.txt"
shared_rows x86 > "$work/shared32.txt"
[ "$(grep -c . "$work/shared64.txt")" = 11 ] && [ "$(awk -F'\t' 'NR <= 2 && $4 >= 256' "$work/shared64.txt")" = "" ] &&
  diff "$work/shared64.txt" "$work/shared32.txt" > "$work/diff.txt" && ok || bad "the shared components differ: $(cat "$work/diff.txt")"

rm -rf "$installed" "$machine" "$program_files" "$program_files_x86"
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
done

# --- Per user, one bitness at a time ------------------------------------------
msiexec /i "$(winepath -w "$build/dist/vardolin-$version-x64.msi")"
msiexec /i "$(winepath -w "$build/dist/vardolin-$version-x86.msi")"
unzip -q -j -o "$build/dist/vardolin-$version.zip" "vardolin-$version/x64/vardolin.dll" -d "$work/x64"
[ "$status" != 0 ] && cmp -s "$installed/vardolin.dll" "$work/x64/vardolin.dll" && grep -qi InprocServer32 <(class_keys 64) \
  && ok || bad "the 32-bit package per user after the 64-bit one: status $status"
msiexec /x "$(winepath -w "$build/dist/vardolin-$version-x64.msi")"
[ "$status" = 0 ] && [ -z "$(files_left)" ] && ok || bad "the 64-bit package after a refused 32-bit one: status $status, left $(files_left)"
rm -rf "$installed"

# --- Per machine, both side by side ---------------------------------------------
creatable() {  # which script hosts create both classes
  local said64 said32
  said64=$(cd "$work" && $wine64 cscript create.vbs 2>/dev/null | tr -d '\r')
  said32=$(cd "$work" && $wine32 cscript create.vbs 2>/dev/null | tr -d '\r')
  echo "${said64:+64}${said32:+32}"
}
photo_folder() { reg "$1" query 'HKLM\Software\Vardolin' /v PhotoFolder 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p'; }
for arch in x64 x86; do msiexec /i "$(winepath -w "$build/dist/vardolin-$version-$arch.msi")" ALLUSERS=1; done
[ "$status" = 0 ] && [ -f "$program_files/vardolin.dll" ] && [ -f "$program_files_x86/vardolin.dll" ] && [ -d "$machine/Pic" ] &&
  [ "$(photo_folder 64)|$(photo_folder 32)" = 'C:\ProgramData\Vardolin\Pic|C:\ProgramData\Vardolin\Pic' ] &&
  [ "$(creatable)" = 6432 ] && ok || bad "both per machine: status $status, creatable from $(creatable), PhotoFolder $(photo_folder 64)|$(photo_folder 32)"
# Nothing in the installing account's profile; the shortcut in the Start menu
# (ProgramMenuFolder, which Windows makes the common one for a per-machine
# install and Wine leaves the user's).
menu='Microsoft/Windows/Start Menu/Programs'
! $wine64 reg query 'HKCU\Software\Vardolin\Installed' >/dev/null 2>&1 && [ ! -e "$shortcut" ] && [ ! -e "$installed" ] &&
  { [ -f "$(folder ProgramData)/$menu/Vardolin 照片.lnk" ] || [ -f "$(folder APPDATA)/$menu/Vardolin 照片.lnk" ]; } \
  && ok || bad "per machine: something in the user's profile, or no shortcut in the Start menu"
# action arch | script hosts that create both classes afterwards
steps=("x x64|32" "i x64|6432" "x x86|64" "x x64|")
for step in "${steps[@]}"; do
  IFS='|' read -r action expected <<< "$step"
  read -r action arch <<< "$action"
  [ "$step" = "x x64|" ] && echo photo > "$machine/Pic/甲.jpg"
  msiexec "/$action" "$(winepath -w "$build/dist/vardolin-$version-$arch.msi")" ALLUSERS=1
  [ "$status" = 0 ] && [ "$(creatable)" = "$expected" ] && [ -d "$machine/Pic" ] \
    && ok || bad "per machine, after /$action $arch: status $status, creatable from '$(creatable)', not '$expected'"
done
[ ! -e "$program_files" ] && [ ! -e "$program_files_x86" ] && [ "$(cat "$machine/Pic/甲.jpg")" = photo ] &&
  [ "$(named_keys 64 HKLM)$(named_keys 32 HKLM)" = 00 ] && [ -z "$(photo_folder 64)$(photo_folder 32)" ] \
  && ok || bad "per machine, all removed: left $(ls "$program_files" "$program_files_x86" 2>&1) $(named_keys 64 HKLM) keys"
rm -rf "$machine"

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
