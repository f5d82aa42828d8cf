#!/usr/bin/env bash
# `make dist`: $BUILD/dist/vardolin-VERSION.zip (VERSION: the project's
# version in CMakeLists.txt) with the 64- and 32-bit vardolin.dll, both
# bitnesses of the demo camera, install.cmd and uninstall.cmd, the README, the
# LICENSE and the face cascade's CASCADE-LICENSE, an example macro, the demo
# roster (UTF-8 with a byte-order mark and CR LF, as a spreadsheet on Chinese
# Windows reads it), and SHA256SUMS of every file; beside it the Windows
# Installer packages vardolin-VERSION-x64.msi and vardolin-VERSION-x86.msi
# (release/msi.py: per user by default, per machine with ALLUSERS=1, the two
# bitnesses side by side), whose COM registration rows come from the DLL's
# own registration table (vardolin-registry-rows, run under Wine).
# The DLLs are stripped; their debug information stays in
# $BUILD/dist/debug/<bitness>/<dll>.debug, which the DLL names (debug link).
# Files carry the last commit's time, so the same sources give the same zip;
# $zip.sha256 holds the sums of the zip and the packages.
#
# Signing (Authenticode, with osslsigncode): SIGN_PFX=file.pfx SIGN_PASS=...,
# or SIGN_CERT=cert.pem SIGN_KEY=key.pem (SIGN_PASS for an encrypted key),
# signs the four DLLs and both packages; SIGN_TIMESTAMP=URL adds a
# timestamp from that server. Without them everything is left unsigned.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath -m "${BUILD:-build}")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/win64/CMakeCache.txt" 2>/dev/null || true)
[ -n "$version" ] || { echo "dist: no project version in $build/win64 (make windows)" >&2; exit 1; }
stamp=$(git log -1 --format=%ct 2>/dev/null || date +%s)
export SOURCE_DATE_EPOCH=$stamp  # the time strip and objcopy write into the DLLs' headers
stage=$build/dist/vardolin-$version
zipfile=$build/dist/vardolin-$version.zip
debug=$build/dist/debug
packages=("$build/dist/vardolin-$version-x64.msi" "$build/dist/vardolin-$version-x86.msi")

# sign FILE: Authenticode-signs FILE in place when a certificate is given.
signing=()
if [ -n "${SIGN_PFX:-}" ]; then
  signing=(-pkcs12 "$SIGN_PFX")
elif [ -n "${SIGN_CERT:-}" ] || [ -n "${SIGN_KEY:-}" ]; then
  [ -n "${SIGN_CERT:-}" ] && [ -n "${SIGN_KEY:-}" ] || { echo "dist: SIGN_CERT and SIGN_KEY go together" >&2; exit 1; }
  signing=(-certs "$SIGN_CERT" -key "$SIGN_KEY")
fi
if [ ${#signing[@]} -gt 0 ]; then
  [ -n "${SIGN_PASS:-}" ] && signing+=(-pass "$SIGN_PASS")
  [ -n "${SIGN_TIMESTAMP:-}" ] && signing+=(-ts "$SIGN_TIMESTAMP")
  signing+=(-h sha256 -n Vardolin)
fi
sign() {
  [ ${#signing[@]} -gt 0 ] || return 0
  osslsigncode sign "${signing[@]}" -in "$1" -out "$1.signed" >/dev/null || { rm -f "$1.signed"; echo "dist: signing $1 failed" >&2; exit 1; }
  mv "$1.signed" "$1"
}

for bits in 64 32; do
  for dll in vardolin.dll vardolin-democam.dll vardolin-registry-rows.exe; do
    [ -f "$build/win$bits/bin/$dll" ] || { echo "dist: $build/win$bits/bin/$dll is missing (make windows)" >&2; exit 1; }
  done
done
rm -rf "$stage" "$zipfile" "$zipfile.sha256" "$debug" "${packages[@]}"

# release BITS DLL FOLDER: the DLL without debug information, which goes to
# $debug/xBITS/DLL.debug.
release() {
  local bits=$1 dll=$2 folder=$3 triple=x86_64-w64-mingw32 arch=x64
  [ "$bits" = 32 ] && triple=i686-w64-mingw32 arch=x86
  mkdir -p "$stage/$folder" "$debug/$arch"
  "$triple-objcopy" --only-keep-debug "$build/win$bits/bin/$dll" "$debug/$arch/$dll.debug"
  "$triple-strip" --strip-all -o "$stage/$folder/$dll" "$build/win$bits/bin/$dll"
  (cd "$debug/$arch" && "$triple-objcopy" --add-gnu-debuglink="$dll.debug" "$stage/$folder/$dll")
  sign "$stage/$folder/$dll"
}
release 64 vardolin.dll x64
release 32 vardolin.dll x86
release 64 vardolin-democam.dll democam/x64
release 32 vardolin-democam.dll democam/x86

cp README.md LICENSE autoframe/CASCADE-LICENSE "$stage/"
# A spreadsheet on Chinese Windows reads a CSV without a byte-order mark in
# the system's code page.
{ printf '\xEF\xBB\xBF'; sed 's/\r*$/\r/' tools/demo/demo-roster.csv; } >"$stage/demo-roster.csv"
# Windows line ends: VBA imports modules with them, cmd.exe reads labels
# reliably only with them.
for text in tools/demo/TakePhotos.bas release/install.cmd release/uninstall.cmd; do
  sed 's/$/\r/' "$text" >"$stage/$(basename "$text")"
done
# The packages: the registration rows as the DLL of each bitness lists them
# (its folder and path as the installer's own names).
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
for bits in 64 32; do
  arch=x64 loader=/usr/lib/wine/wine64
  [ "$bits" = 32 ] && arch=x86 loader=/usr/lib/wine/wine
  rows=$build/dist/registry-rows-$arch.txt
  DISPLAY= "$loader" "$build/win$bits/bin/vardolin-registry-rows.exe" '[#VardolinDll]' '[INSTALLDIR]' >"$rows" 2>/dev/null &&
    grep -q 'InprocServer32' "$rows" || { echo "dist: vardolin-registry-rows of win$bits gave no rows" >&2; exit 1; }
  msi=$build/dist/vardolin-$version-$arch.msi
  python3 release/msi.py "$arch" "$version" "$stage/$arch/vardolin.dll" "$rows" "$msi"
  sign "$msi"
  rm -f "$rows"
done

(cd "$stage" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | LC_ALL=C sort | xargs sha256sum >SHA256SUMS)
find "$stage" -exec touch -h -d "@$stamp" {} +
(cd "$build/dist" && TZ=UTC zip -q -X -r "$zipfile" "$(basename "$stage")")
(cd "$build/dist" && sha256sum "$(basename "$zipfile")" "${packages[@]##*/}" >"$zipfile.sha256")
rm -rf "$stage"
echo "Wrote $zipfile and the packages ${packages[*]##*/}"
[ ${#signing[@]} -gt 0 ] && echo "The DLLs and the packages are signed." || echo "Nothing is signed (no SIGN_PFX, or SIGN_CERT and SIGN_KEY)."
unzip -l "$zipfile" | sed -n '4,$p' | head -n -2
