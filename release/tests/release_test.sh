#!/usr/bin/env bash
# The release zip as a Windows user gets it, checked under Wine after the
# Windows tests: its files and their SHA-256 sums, stripped DLLs with their
# debug files kept in the build and their version resources, signed with a
# throwaway certificate made here, the demo roster as a spreadsheet on
# Chinese Windows reads it; then
# install.cmd and uninstall.cmd run by Wine's command interpreter, with the
# spreadsheet program's registry entries of each kind (or none) in the
# prefix: the DLL of the right bitness is copied and registered for the user,
# CreateObject works from the script host of that bitness, and uninstalling
# leaves no key and no copied file, never touching the photos in Pic. Also
# from a folder whose path holds &, parentheses and %, and with a DLL that
# cannot be loaded, which install.cmd explains in one line.
#
# Wine's COM reads classes only from the machine's registry, where Windows
# merges the user's classes in. So, for the CreateObject check, the keys the
# per-user registration wrote are copied to the machine's classes in the
# view of the DLL's bitness, as Windows would see them, and removed again.
# Runs in a prefix of its own, BUILD/wineprefix-release (a copy of the
# freshly booted test prefix, without registrations), beside the Windows
# suites.
# Usage: release_test.sh BUILD
set -uo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "$1")
export WINEPREFIX=$build/wineprefix-release WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8
unset DISPLAY  # nothing here opens a window
wine64=/usr/lib/wine/wine64 wine32=/usr/lib/wine/wine
work=$(mktemp -d)
passed=0 failed=0
ok() { passed=$((passed + 1)); }
bad() { failed=$((failed + 1)); echo "FAIL: $*"; }

# A throwaway certificate signs the release, as a school's own would.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Vardolin test signer" \
  -keyout "$work/key.pem" -out "$work/cert.pem" >/dev/null 2>&1 &&
  openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -passout pass:test -out "$work/cert.pfx" \
  || { echo "FAIL: no throwaway certificate"; exit 1; }
BUILD=$build SIGN_PFX=$work/cert.pfx SIGN_PASS=test bash scripts/dist.sh >/dev/null || { echo "FAIL: make dist"; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/win64/CMakeCache.txt")
unzip -q "$build/dist/vardolin-$version.zip" -d "$work"
folder=$work/vardolin-$version

# --- The zip -----------------------------------------------------------------
expected="CASCADE-LICENSE LICENSE README.md SHA256SUMS TakePhotos.bas demo-roster.csv democam/x64/vardolin-democam.dll
democam/x86/vardolin-democam.dll install.cmd uninstall.cmd x64/vardolin.dll x86/vardolin.dll"
[ "$(cd "$folder" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | xargs)" = "$(echo $expected)" ] \
  && ok || bad "files in the zip: $(cd "$folder" && find . -type f | xargs)"
[ "$(cd "$folder" && sha256sum --quiet -c SHA256SUMS && cut -d' ' -f3 SHA256SUMS | xargs)" = \
  "$(echo $expected | tr ' ' '\n' | grep -vx SHA256SUMS | xargs)" ] && ok || bad "SHA256SUMS"
(cd "$build/dist" && sha256sum --quiet -c "vardolin-$version.zip.sha256") && ok || bad "the zip's own sum"
for dll in x64/vardolin.dll x86/vardolin.dll democam/x64/vardolin-democam.dll democam/x86/vardolin-democam.dll; do
  triple=x86_64-w64-mingw32 arch=x64
  case $dll in *x86*) triple=i686-w64-mingw32 arch=x86 ;; esac
  sections=$("$triple-objdump" -h "$folder/$dll")
  debugfile=$build/dist/debug/$arch/$(basename "$dll").debug
  ! grep -q ' \.debug_' <<< "$sections" && grep -q ' \.gnu_debuglink' <<< "$sections" \
    && "$triple-objdump" -h "$debugfile" | grep -q ' \.debug_info' && ok || bad "$dll: not stripped, or no debug file"
  resources=$("$triple-windres" -J coff -O rc -i "$folder/$dll")
  grep -q "VALUE \"FileVersion\", \"$version\"" <<< "$resources" && grep -q 'VALUE "ProductName", "Vardolin"' <<< "$resources" \
    && ok || bad "$dll: no version resource of version $version"
done
for signed in x64/vardolin.dll x86/vardolin.dll democam/x64/vardolin-democam.dll democam/x86/vardolin-democam.dll \
              "../vardolin-$version-x64.msi" "../vardolin-$version-x86.msi"; do
  file=$folder/$signed
  [[ $signed == ../* ]] && file=$build/dist/${signed#../}
  osslsigncode verify -CAfile "$work/cert.pem" -in "$file" 2>&1 | grep -q 'Signature verification: ok' \
    && ok || bad "$signed: no signature of the throwaway certificate"
done
[ "$(head -c 3 "$folder/demo-roster.csv" | od -An -tx1 | tr -d ' ')" = efbbbf ] && ok || bad "demo-roster.csv has no byte-order mark"
for script in install.cmd uninstall.cmd TakePhotos.bas demo-roster.csv; do
  [ "$(grep -c $'\r$' "$folder/$script")" = "$(wc -l < "$folder/$script")" ] && ok || bad "$script has lines without CR LF"
done

# --- install.cmd and uninstall.cmd under Wine's cmd ----------------------------
wineserver -w
bash release/tests/shared-keys.sh "$WINEPREFIX"
wineserver -p
local_app_data=$($wine64 cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')
installed=$(winepath -u "$local_app_data\\Vardolin")
photos=$installed/Pic
# Wine links Pictures to the Linux home folder; Windows has a folder there.
pictures=$(winepath -u "$($wine64 cmd /c 'echo %USERPROFILE%' | tr -d '\r')\\Pictures")
[ -L "$pictures" ] && rm "$pictures"
mkdir -p "$pictures"
shortcut="$pictures/Vardolin 照片.lnk"
office='HKLM\SOFTWARE\Microsoft\Office'
excel='HKLM\SOFTWARE\Classes\CLSID\{00024500-0000-0000-C000-000000000046}'
reg() { local bits=$1; shift; if [ "$bits" = 32 ]; then $wine32 reg "$@"; else $wine64 reg "$@"; fi; }
forget_spreadsheet() {
  local view
  for view in 64 32; do reg $view delete "$office" /f; reg $view delete "$excel" /f; done >/dev/null 2>&1
}
cleanup() {
  [ -f "$installed/vardolin.dll" ] && (cd "$folder" && $wine64 cmd /c uninstall.cmd </dev/null >/dev/null 2>&1)
  forget_spreadsheet
  wineserver -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
forget_spreadsheet

# Windows always has the user's classes key; a freshly booted Wine prefix has
# none until something registers there, and exporting it would fail.
$wine64 reg add 'HKCU\Software\Classes' /f >/dev/null
# The user's classes as text in FILE. A list read wrong would make the checks
# below compare against nothing, so the test stops if they cannot be read.
read_classes() {  # FILE
  rm -f "$work/classes.reg"
  $wine64 reg export 'HKCU\Software\Classes' "$(winepath -w "$work/classes.reg")" /y >/dev/null &&
    iconv -f UTF-16 -t UTF-8 "$work/classes.reg" | tr -d '\r' > "$1" ||
    { echo "FAIL: cannot export HKCU\\Software\\Classes"; exit 1; }
}
read_classes "$work/before.txt"
grep '^\[' "$work/before.txt" > "$work/before.keys"

# Copies the keys the per-user registration added to the machine's classes in
# the view of BITS, as Windows' merged view shows them to a program.
merge_user_classes() {
  local bits=$1 key
  read_classes "$work/now.txt"
  awk -v old="$work/before.keys" 'BEGIN { while ((getline k < old) > 0) seen[k] = 1 }
      /^\[/ { keep = !($0 in seen) } keep' "$work/now.txt" |
    sed 's/^\[HKEY_CURRENT_USER\\Software\\Classes/[HKEY_LOCAL_MACHINE\\Software\\Classes/' > "$work/merge.txt"
  : > "$work/added.keys"
  while read -r key; do
    reg "$bits" query "$key" >/dev/null 2>&1 || echo "$key" >> "$work/added.keys"
  done < <(grep '^\[' "$work/merge.txt" | tr -d '[]')
  { printf 'Windows Registry Editor Version 5.00\n\n'; cat "$work/merge.txt"; } | sed 's/$/\r/' |
    iconv -f UTF-8 -t UTF-16 > "$work/merge.reg"
  (cd "$work" && reg "$bits" import merge.reg >/dev/null 2>&1)
}
unmerge_user_classes() {
  local bits=$1 key
  while read -r key; do
    grep -qxF "${key%\\*}" "$work/added.keys" || reg "$bits" delete "$key" /f >/dev/null 2>&1
  done < "$work/added.keys"
}

cat > "$work/create.vbs" <<'EOF'
' Creates both classes as a macro does and writes a JPEG with the DLL.
Dim fso, form, jpeg, failed
failed = 0
Set fso = CreateObject("Scripting.FileSystemObject")
Set form = CreateObject("Vardolin.Class1")
Set jpeg = CreateObject("Vardolin.ClsJPEG")
If fso.FileExists("installed.jpg") Then fso.DeleteFile "installed.jpg"
If jpeg.SampleHDC(0, 32, 24) <> 0 Then failed = failed + 1
If jpeg.SaveFile("installed.jpg") <> 0 Then failed = failed + 1
WScript.Echo failed & " failed"
EOF
sed -i 's/$/\r/' "$work/create.vbs"

# The registration points at the installed copy, and a script host of that
# bitness creates the classes from it.
check_installed() {  # case bits
  local name=$1 bits=$2 arch=x64 clsid path loader=$wine64
  [ "$bits" = 32 ] && arch=x86 loader=$wine32
  cmp -s "$installed/vardolin.dll" "$folder/$arch/vardolin.dll" && [ ! -e "$installed/vardolin.dll.new" ] \
    && ok || bad "$name: $installed/vardolin.dll is not the $arch DLL"
  clsid=$(reg "$bits" query 'HKCU\Software\Classes\Vardolin.ClsJPEG\CLSID' /ve 2>/dev/null | tr -d '\r' | awk '/REG_SZ/ { print $NF }')
  path=$(reg "$bits" query "HKCU\\Software\\Classes\\CLSID\\$clsid\\InprocServer32" /ve 2>/dev/null | tr -d '\r' |
         sed -n 's/.*REG_SZ *//p')
  [ "$path" = "$local_app_data\\Vardolin\\vardolin.dll" ] && ok || bad "$name: registered for the user as '$path'"
  merge_user_classes "$bits"
  rm -f "$work/installed.jpg"
  (cd "$work" && $loader cscript create.vbs 2>/dev/null) | tr -d '\r' | grep -qx '0 failed' &&
    [ "$(head -c 2 "$work/installed.jpg" | od -An -tx1 | tr -d ' ')" = ffd8 ] && ok || bad "$name: CreateObject from the $bits-bit script host"
  unmerge_user_classes "$bits"
}

from=$folder
run_cmd() {  # script input args...: sets out and status (run in $from)
  local script=$1 input=$2; shift 2
  (cd "$from" && printf '%b' "$input" | $wine64 cmd /c "$script" "$@" >"$work/said" 2>&1)
  status=$?
  out=$(tr -d '\r' < "$work/said")
}

# case | spreadsheet entries | input | arguments | bits | reason given
cases=(
  "click-to-run|64 $office\\ClickToRun\\Configuration Platform x64|||64|the Office Click-to-Run configuration says x64"
  "office-32-bit-view|32 $office\\16.0\\Outlook Bitness x86|||32|the Office 16.0 registry entries say x86"
  "excel-class-32|32 $excel\\LocalServer32 @ excel.exe|||32|Excel is registered as a 32-bit program"
  "nothing-no-answer||||64|no answer was given and Windows is 64-bit"
  "nothing-answered||32\\n||32|you said so"
  "argument-wins|64 $office\\ClickToRun\\Configuration Platform x64||32|32|you asked for it"
)
for line in "${cases[@]}"; do
  IFS='|' read -r name entry input argument bits reason <<< "$line"
  forget_spreadsheet
  if [ -n "$entry" ]; then
    read -r view key value data <<< "$entry"
    if [ "$value" = @ ]; then reg "$view" add "$key" /ve /d "$data" /f >/dev/null; else reg "$view" add "$key" /v "$value" /d "$data" /f >/dev/null; fi
  fi
  run_cmd install.cmd "$input" $argument
  # (after the question, the answer's line end is the user's)
  [ "$status" = 0 ] && grep -q "Installing Vardolin for .*: $bits-bit, because $reason\.$" <<< "$out" &&
    grep -q '^Vardolin is installed\.' <<< "$out" && [ -f "$shortcut" ] && ok || bad "$name: status $status, said: $out"
  check_installed "$name" "$bits"
done
grep -q '^- removed the registration of the vardolin.dll installed before$' <<< "$out" && ok || bad "reinstall: $out"

run_cmd install.cmd "" 128
[ "$status" = 1 ] && grep -q 'Unknown choice "128"' <<< "$out" && cmp -s "$installed/vardolin.dll" "$folder/x86/vardolin.dll" \
  && ok || bad "a wrong argument: status $status, said: $out"

# Uninstalling keeps the photos, and the folder that holds them.
mkdir -p "$photos" && echo photo > "$photos/甲.jpg"
run_cmd uninstall.cmd ""
[ "$status" = 0 ] && grep -q '^Vardolin is removed\.$' <<< "$out" && [ ! -e "$installed/vardolin.dll" ] &&
  [ "$(cat "$photos/甲.jpg")" = photo ] && [ ! -e "$shortcut" ] && ok || bad "uninstall with photos: status $status, said: $out"
read_classes "$work/after.txt"
left=$(grep -ci vardolin "$work/after.txt")
[ "$left" = 0 ] && ok || bad "uninstall left $left lines naming Vardolin in the user's classes"
for bits in 64 32; do
  for key in 'HKLM\Software\Classes\Vardolin.Class1' 'HKLM\Software\Classes\Vardolin.ClsJPEG' \
             'HKLM\Software\Classes\TypeLib\{D2E07B96-27CF-48BD-ABF5-C092BB42856E}'; do
    reg $bits query "$key" >/dev/null 2>&1 && bad "uninstall left $key ($bits-bit view)" || ok
  done
done
run_cmd uninstall.cmd ""
[ "$status" = 0 ] && grep -q '^Vardolin is not installed' <<< "$out" && ok || bad "uninstall twice: $out"
# From a folder whose name holds the characters cmd.exe reads as commands.
# (Not %: Wine's cmd expands %~dp0 once more and loses it, which Windows'
# does not.)
from="$work/Li & Wang (2)"
cp -r "$folder" "$from"
run_cmd install.cmd "" 64
[ "$status" = 0 ] && grep -q '^Vardolin is installed\.' <<< "$out" && cmp -s "$installed/vardolin.dll" "$folder/x64/vardolin.dll" \
  && ok || bad "install from '$from': status $status, said: $out"
run_cmd uninstall.cmd ""
[ "$status" = 0 ] && grep -q '^Vardolin is removed\.$' <<< "$out" && [ ! -e "$installed/vardolin.dll" ] \
  && ok || bad "uninstall from '$from': status $status, said: $out"

# A DLL that Windows will not load (here one cut short, as a blocked or
# quarantined file fails) is explained in one line; nothing stays installed.
head -c 4096 "$folder/x64/vardolin.dll" > "$from/x64/vardolin.dll"
run_cmd install.cmd "" 64
[ "$status" = 1 ] && grep -q '^Windows would not load the 64-bit vardolin.dll: .*sign or allow it; .*run install.cmd 32\.$' <<< "$out" &&
  grep -q '^Vardolin was not installed\.$' <<< "$out" && [ ! -e "$installed/vardolin.dll" ] \
  && ok || bad "a DLL that does not load: status $status, said: $out"
from=$folder

# For every user of the computer, as install.cmd does when elevated (/machine
# takes that branch: Wine shows no elevation): both bitnesses side by side
# in Program Files, registered for the machine (no user's classes to merge),
# the photo folder in ProgramData as the machine's setting in each registry
# view, the shortcut in the common Start menu, nothing in the user's profile.
folder_of() { winepath -u "$($wine64 cmd /c "echo %$1%" | tr -d '\r')"; }
data=$(folder_of ProgramData)/Vardolin
machine_shortcut="$(folder_of ProgramData)/Microsoft/Windows/Start Menu/Programs/Vardolin 照片.lnk"
photo_folder() { reg "$1" query 'HKLM\Software\Vardolin' /v PhotoFolder 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p'; }
# bits | arguments | Program Files folder | DLL
for line in "64|/machine 64|ProgramFiles|x64" "32|32 /machine|ProgramFiles(x86)|x86"; do
  IFS='|' read -r bits arguments program_files arch <<< "$line"
  loader=$wine64
  [ "$bits" = 32 ] && loader=$wine32
  run_cmd install.cmd "" $arguments
  rm -f "$work/installed.jpg"
  [ "$status" = 0 ] && grep -q "^Installing Vardolin for every user of this computer: $bits-bit" <<< "$out" &&
    grep -q '^Vardolin is installed for every user of this computer\.' <<< "$out" &&
    cmp -s "$(folder_of "$program_files")/Vardolin/vardolin.dll" "$folder/$arch/vardolin.dll" && [ -d "$data/Pic" ] &&
    [ "$(photo_folder $bits)" = 'C:\ProgramData\Vardolin\Pic' ] && [ -f "$machine_shortcut" ] &&
    (cd "$work" && $loader cscript create.vbs 2>/dev/null) | tr -d '\r' | grep -qx '0 failed' \
    && ok || bad "install.cmd /machine $bits: status $status, PhotoFolder '$(photo_folder $bits)', said: $out"
done
read_classes "$work/after.txt"
[ ! -e "$installed/vardolin.dll" ] && [ "$(grep -ci vardolin "$work/after.txt")" = 0 ] && ok || bad "install.cmd /machine wrote to the user's profile"
echo photo > "$data/Pic/甲.jpg"
run_cmd uninstall.cmd "" /machine
[ "$status" = 0 ] && grep -q '^Vardolin is removed for every user of this computer\.$' <<< "$out" &&
  [ ! -e "$(folder_of ProgramFiles)/Vardolin" ] && [ ! -e "$(folder_of 'ProgramFiles(x86)')/Vardolin" ] &&
  [ "$(cat "$data/Pic/甲.jpg")" = photo ] && [ ! -e "$machine_shortcut" ] && [ -z "$(photo_folder 64)$(photo_folder 32)" ] &&
  ! reg 64 query 'HKLM\Software\Classes\Vardolin.Class1' >/dev/null 2>&1 && ! reg 32 query 'HKLM\Software\Classes\Vardolin.Class1' >/dev/null 2>&1 \
  && ok || bad "uninstall.cmd /machine: status $status, said: $out"
rm -rf "$data"

# Without photos, the folder goes too.
rm -rf "$photos"
run_cmd install.cmd "" 64
run_cmd uninstall.cmd ""
[ "$status" = 0 ] && [ ! -e "$installed" ] && ok || bad "uninstall without photos left $installed"

echo "release: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
