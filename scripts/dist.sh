#!/usr/bin/env bash
# `make dist`: $BUILD/dist/vardolin-VERSION.zip (VERSION: the project's
# version in CMakeLists.txt) with the 64- and 32-bit vardolin.dll, both
# bitnesses of the demo camera, install.cmd and uninstall.cmd, the README, the
# LICENSE and the face cascade's CASCADE-LICENSE, an example macro, the demo
# roster, and SHA256SUMS of every file.
# The DLLs are stripped; their debug information stays in
# $BUILD/dist/debug/<bitness>/<dll>.debug, which the DLL names (debug link).
# Files carry the last commit's time, so the same sources give the same zip;
# $zip.sha256 holds the zip's own sum.
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

for bits in 64 32; do
  for dll in vardolin.dll vardolin-democam.dll; do
    [ -f "$build/win$bits/bin/$dll" ] || { echo "dist: $build/win$bits/bin/$dll is missing (make windows)" >&2; exit 1; }
  done
done
rm -rf "$stage" "$zipfile" "$zipfile.sha256" "$debug"

# release BITS DLL FOLDER: the DLL without debug information, which goes to
# $debug/xBITS/DLL.debug.
release() {
  local bits=$1 dll=$2 folder=$3 triple=x86_64-w64-mingw32 arch=x64
  [ "$bits" = 32 ] && triple=i686-w64-mingw32 arch=x86
  mkdir -p "$stage/$folder" "$debug/$arch"
  "$triple-objcopy" --only-keep-debug "$build/win$bits/bin/$dll" "$debug/$arch/$dll.debug"
  "$triple-strip" --strip-all -o "$stage/$folder/$dll" "$build/win$bits/bin/$dll"
  (cd "$debug/$arch" && "$triple-objcopy" --add-gnu-debuglink="$dll.debug" "$stage/$folder/$dll")
}
release 64 vardolin.dll x64
release 32 vardolin.dll x86
release 64 vardolin-democam.dll democam/x64
release 32 vardolin-democam.dll democam/x86

cp README.md LICENSE autoframe/CASCADE-LICENSE tools/demo/demo-roster.csv "$stage/"
# Windows line ends: VBA imports modules with them, cmd.exe reads labels
# reliably only with them.
for text in tools/demo/TakePhotos.bas release/install.cmd release/uninstall.cmd; do
  sed 's/$/\r/' "$text" >"$stage/$(basename "$text")"
done
(cd "$stage" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | LC_ALL=C sort | xargs sha256sum >SHA256SUMS)
find "$stage" -exec touch -h -d "@$stamp" {} +
(cd "$build/dist" && TZ=UTC zip -q -X -r "$zipfile" "$(basename "$stage")")
(cd "$build/dist" && sha256sum "$(basename "$zipfile")" >"$zipfile.sha256")
rm -rf "$stage"
echo "Wrote $zipfile"
unzip -l "$zipfile" | sed -n '4,$p' | head -n -2
