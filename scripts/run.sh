#!/usr/bin/env bash
# `make run`: the product on its demo defaults, in a Wine prefix of its own
# ($BUILD/demo/wineprefix: Chinese fonts mapped, vardolin.dll registered, the
# demo camera registered as the prefix's webcam). The programs are copied to $BUILD/demo/bin, so
# the photos go to $BUILD/demo/bin/Pic.
#  - With a display: starts the stand-in spreadsheet host on the demo roster
#    and waits until you close it.
#  - Without one: on a private Xvfb, plays the walkthrough (import the roster
#    through the range picker, take a photo, move the crop frame, store three
#    photos, import the roster again so the names photographed show their
#    done mark, make the class sheet) and says where the photos, the sheet and
#    a screenshot are.
# The demo prefix has the photos stored at 468 x 564 (three times the
# designed size) and the crop frame placed on the face in each new still
# turned on, and the demo camera films the photograph of a face, so each
# still is framed by itself; DEMO_SCENE=portrait films the camera's drawn
# portrait instead (no face is found in it, so the frame stays put).
# First it encodes the demo portrait with the native command-line encoder.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath -m "${BUILD:-build}")
demo=$build/demo
bin=$demo/bin
wine64=/usr/lib/wine/wine64
demo_camera=""   # the demo camera's switches (democam/README.md)

portrait() {
  local tool=$build/native/tools/vardolin-jpeg out=$demo/portrait.jpg
  mkdir -p "$demo"
  "$tool" tools/demo/portrait.ppm "$out" --quality 90 --sampling 1,1,1,1,1,1 --force
  echo "Command-line encoder: $out ($(stat -c %s "$out") bytes, $(djpeg -pnm "$out" | sed -n 2p | tr ' ' x) pixels)"
}

install_programs() {
  mkdir -p "$bin"
  local f
  for f in vardolin.dll vardolin-democam.dll vardolin-devhost.exe vardolin-walkthrough.exe demo-roster.csv; do
    cp -p "$build/win64/bin/$f" "$bin/"
  done
}

prepare_prefix() {
  bash scripts/wine-prefix.sh "$demo/wineprefix"
  export WINEPREFIX=$demo/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8
  wineserver -k 2>/dev/null || true
  wineserver -w
  # Wine's COM reads classes only from the machine-wide registration.
  (cd "$bin" && "$wine64" regsvr32 /s vardolin.dll && "$wine64" regsvr32 /s vardolin-democam.dll)
  # Earlier versions chose a camera built into the DLL with this value.
  "$wine64" reg delete 'HKCU\Software\Vardolin' /v Camera /f >/dev/null 2>&1 || true
  # What the source dialog's "拍照后自动框选人脸" stores.
  "$wine64" reg add 'HKCU\Software\Vardolin' /v AutoFrame /t REG_DWORD /d 1 /f >/dev/null
  # And its "拍照后检查照片": each still checked, its problem drawn on it.
  "$wine64" reg add 'HKCU\Software\Vardolin' /v PhotoChecks /t REG_DWORD /d 1 /f >/dev/null
  # And its "照片尺寸" 468 x 564: photos three times the designed size, cut
  # from the camera's 1280 x 720 frames.
  "$wine64" reg add 'HKCU\Software\Vardolin' /v PhotoScale /t REG_DWORD /d 3 /f >/dev/null
  # A wineserver started without a display would hand the host a desktop without one.
  wineserver -w
}

report_photos() {
  local photo
  shopt -s nullglob
  local photos=("$bin"/Pic/*.jpg)
  echo "Photos in $bin/Pic:"
  for photo in "${photos[@]}"; do
    echo "  $(basename "$photo")  $(stat -c %s "$photo") bytes, $(djpeg -pnm "$photo" | sed -n 2p | tr ' ' x) pixels"
  done
  [ ${#photos[@]} -gt 0 ] || echo "  (none)"
}

interactive() {
  echo "Starting the stand-in spreadsheet host on $DISPLAY. Press \"Run macro: Photograph roster\","
  echo "then right-click the roster list of the capture window to add names from the sheet."
  (cd "$bin" && "$wine64" vardolin-devhost.exe demo-roster.csv)
  report_photos
}

walkthrough() {
  local shot=$demo/walkthrough.png
  rm -rf "$bin/Pic"
  echo "No display: playing the walkthrough on a private Xvfb"
  bash scripts/with-xvfb.sh bash -c '
    wineserver -p
    /usr/lib/wine/wine64 cmd /c exit 0 >/dev/null 2>&1 </dev/null
    bash devhost/app/walkthrough.sh "$1" "$2" 3 "$3"' walkthrough "$bin" "$shot" "$face_check"
  report_photos
  echo "Class sheet: $bin/Pic/照片一览.html and $bin/Pic/照片清单.csv"
  echo "Screenshot of the window with the roster (done names marked) and the crop: $shot"
}

face_check=""   # the walkthrough's last photo is framed on a face
case "${DEMO_SCENE:-photo}" in
  portrait) ;;
  photo) demo_camera="scene=photo" face_check=face ;;
  *) echo "run: DEMO_SCENE is portrait or photo, not '$DEMO_SCENE'" >&2; exit 2 ;;
esac

portrait
install_programs
export VARDOLIN_DEMOCAM=$demo_camera
prepare_prefix
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  interactive
else
  walkthrough
fi
