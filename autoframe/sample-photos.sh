#!/usr/bin/env bash
# Takes public photographs out of Debian packages (downloaded, not
# installed) into DEST:
#   astronaut.png  portrait of an astronaut (public domain)   python3-skimage
#   camera.png     a man with a camera on a tripod            python3-skimage
#   chelsea.png    a cat                                      python3-skimage
#   hopper.ppm     portrait of a computer scientist in        python-matplotlib-data
#                  uniform (public domain), from its JPEG with djpeg
# Usage: sample-photos.sh DEST [NAME...]  (default: all of them)
set -euo pipefail
dest=$1; shift
names=("$@")
[ ${#names[@]} -gt 0 ] || names=(astronaut.png camera.png chelsea.png hopper.ppm)

missing=()
for name in "${names[@]}"; do [ -s "$dest/$name" ] || missing+=("$name"); done
[ ${#missing[@]} -eq 0 ] && exit 0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$dest"

# Downloads a package (refreshing the package lists once if it is not known
# yet) and unpacks the files that match the patterns into $work/files.
unpack() {
  local package=$1; shift
  if ! (cd "$work" && apt-get download -q "$package" >/dev/null 2>"$work/apt.log"); then
    if [ "$(id -u)" -eq 0 ]; then apt-get update -qq; fi
    (cd "$work" && apt-get download -q "$package" >/dev/null 2>"$work/apt.log") || {
      cat "$work/apt.log" >&2; echo "sample-photos: could not download $package" >&2; exit 1; }
  fi
  mkdir -p "$work/files"
  dpkg-deb --fsys-tarfile "$work/${package}"_*.deb | tar -x -C "$work/files" --wildcards "$@"
}

skimage=()
for name in "${missing[@]}"; do
  case "$name" in
    astronaut.png|camera.png|chelsea.png) skimage+=("*/skimage/data/$name") ;;
    hopper.ppm) unpack python-matplotlib-data '*/sample_data/grace_hopper.jpg'
                djpeg -pnm "$work"/files/usr/share/matplotlib/mpl-data/sample_data/grace_hopper.jpg > "$work/hopper.ppm"
                mv "$work/hopper.ppm" "$dest/hopper.ppm" ;;
    *) echo "sample-photos: unknown photo $name" >&2; exit 2 ;;
  esac
done
if [ ${#skimage[@]} -gt 0 ]; then
  unpack python3-skimage "${skimage[@]}"
  for pattern in "${skimage[@]}"; do
    name=${pattern##*/}
    mv "$work"/files/usr/lib/python3/dist-packages/skimage/data/"$name" "$dest/$name"
  done
fi
