#!/usr/bin/env bash
# End-to-end: the demo session on the stand-in host through window messages,
# with the registered vardolin.dll and the demo camera (registered by the
# camera fixture), as make run plays it: the camera films the photograph and
# the option to frame the face in each still is on, so the last photo is
# framed by the face finder alone. Passes when the walkthrough and its
# screenshot check (the frame on the face and the done names marked) pass, and
# the Pic folder then holds exactly the photos of the first three people on
# the demo roster, each a JPEG that djpeg decodes to 156 x 188 pixels, and the
# class sheet, whose list has those three as 已拍.
# Usage (ctest, in the test prefix): walkthrough_test.sh BIN_DIR SCREENSHOT.png
set -euo pipefail
here=$(dirname "$(realpath "$0")")
bin=$(realpath "$1")
shot=$2
wine64=/usr/lib/wine/wine64

option='HKCU\Software\Vardolin'
cleanup() {
  rm -rf "$bin/Pic"
  "$wine64" reg delete "$option" /v AutoFrame /f >/dev/null 2>&1 || true
}
trap cleanup EXIT
rm -rf "$bin/Pic"
"$wine64" reg add "$option" /v AutoFrame /t REG_DWORD /d 1 /f >/dev/null

VARDOLIN_DEMOCAM=scene=photo bash "$here/../app/walkthrough.sh" "$bin" "$shot" 3 face

failed=0
expected=("张伟.jpg" "王芳.jpg" "李娜.jpg")   # the first three names on the demo roster
sheet=("照片一览.html" "照片清单.csv")
mapfile -t stored < <(cd "$bin/Pic" && LC_ALL=C.UTF-8 ls)
mapfile -t sorted < <(printf '%s\n' "${expected[@]}" "${sheet[@]}" | LC_ALL=C.UTF-8 sort)
if [ "${stored[*]}" != "${sorted[*]}" ]; then
  echo "FAIL: the Pic folder holds '${stored[*]}', expected '${sorted[*]}'"
  failed=1
fi
for name in "${expected[@]}"; do
  file="$bin/Pic/$name"
  size=$(djpeg -pnm "$file" 2>/dev/null | head -n 2 | tail -n 1 || true)
  if [ "$size" = "156 188" ]; then
    echo "ok: $name decodes to 156 x 188"
  else
    echo "FAIL: $name does not decode to 156 x 188 (got '$size')"
    failed=1
  fi
done
taken=$(grep -c ',已拍,' "$bin/Pic/照片清单.csv" || true)
if [ "$taken" = 3 ]; then
  echo "ok: the class sheet lists the three photos as 已拍"
else
  echo "FAIL: the class sheet lists $taken photos as 已拍, expected 3"
  failed=1
fi
echo "$failed failed"
exit $failed
