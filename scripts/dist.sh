#!/usr/bin/env bash
# `make dist`: $BUILD/dist/vardolin-VERSION.zip with the 64- and 32-bit
# vardolin.dll, both bitnesses of the demo camera, the README, an example macro and the demo roster. Files carry
# the last commit's time, so the same sources give the same zip.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath -m "${BUILD:-build}")
version=$(git describe --tags --always --dirty 2>/dev/null || echo snapshot)
stamp=$(git log -1 --format=%ct 2>/dev/null || date +%s)
stage=$build/dist/vardolin-$version
zipfile=$build/dist/vardolin-$version.zip

for bits in 64 32; do
  for dll in vardolin.dll vardolin-democam.dll; do
    [ -f "$build/win$bits/bin/$dll" ] || { echo "dist: $build/win$bits/bin/$dll is missing (make windows)" >&2; exit 1; }
  done
done
rm -rf "$stage" "$zipfile"
mkdir -p "$stage/x64" "$stage/x86" "$stage/democam/x64" "$stage/democam/x86"
cp "$build/win64/bin/vardolin.dll" "$stage/x64/"
cp "$build/win32/bin/vardolin.dll" "$stage/x86/"
cp "$build/win64/bin/vardolin-democam.dll" "$stage/democam/x64/"
cp "$build/win32/bin/vardolin-democam.dll" "$stage/democam/x86/"
cp README.md tools/demo/demo-roster.csv "$stage/"
# VBA imports modules with Windows line ends.
sed 's/$/\r/' tools/demo/TakePhotos.bas >"$stage/TakePhotos.bas"
find "$stage" -exec touch -h -d "@$stamp" {} +
(cd "$build/dist" && TZ=UTC zip -q -X -r "$zipfile" "$(basename "$stage")")
rm -rf "$stage"
echo "Wrote $zipfile"
unzip -l "$zipfile" | sed -n '4,$p' | head -n -2
