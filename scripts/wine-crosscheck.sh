#!/usr/bin/env bash
# The x86_64 and i686 DLLs and the native encoder must write the same bytes
# for the same pixels. The Windows tests leave, per case, the pixels (.ppm),
# the DLL's file (.jpg) and the encoder settings (.args) in bin/crosscheck.
# Usage: wine-crosscheck.sh BUILD
set -uo pipefail

build=$1
win64=$build/win64/bin/crosscheck
win32=$build/win32/bin/crosscheck
native=$build/native/tools/vardolin-jpeg
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

shopt -s nullglob
cases=("$win64"/*.args)
if [ ${#cases[@]} -eq 0 ]; then
  echo "crosscheck: no cases in $win64 (did the Windows tests run?)" >&2
  exit 1
fi
[ -x "$native" ] || echo "crosscheck: $native not built, comparing the two DLLs only"

failed=0
for args in "${cases[@]}"; do
  name=$(basename "$args" .args)
  jpg=$win64/$name.jpg
  cmp -s "$jpg" "$win32/$name.jpg" || { echo "crosscheck $name: x86_64 and i686 files differ"; failed=1; }
  djpeg "$jpg" >/dev/null || { echo "crosscheck $name: djpeg cannot read the file"; failed=1; }
  if [ -x "$native" ]; then
    # The settings are words to split; the Windows test wrote them with CR LF.
    # shellcheck disable=SC2046
    "$native" "$win64/$name.ppm" "$tmp/$name.jpg" $(tr -d '\r' < "$args") >/dev/null &&
      cmp -s "$jpg" "$tmp/$name.jpg" || { echo "crosscheck $name: native file differs"; failed=1; }
  fi
done
[ $failed -eq 0 ] && echo "crosscheck: ${#cases[@]} pictures identical across builds"
exit $failed
