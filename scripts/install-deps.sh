#!/usr/bin/env bash
# Installs the Debian packages a build needs, only those that are missing.
# Usage: install-deps.sh native|windows|fuzz|bench ...
set -euo pipefail

native=(cmake ninja-build g++ make python3 clang-format opencv-data googletest libgtest-dev libjpeg62-turbo-dev libjpeg-turbo-progs libstb-dev libpng-dev)
windows=(python3 opencv-data msitools wixl osslsigncode openssl g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev g++-mingw-w64-i686-posix mingw-w64-i686-dev
         wine wine64 wine64-tools libwine-dev fonts-wine fonts-wqy-zenhei
         xvfb xauth x11-apps x11-utils imagemagick xdotool libjpeg-turbo-progs zip unzip)
windows32=(wine32:i386)
fuzz=(clang libclang-rt-14-dev)
bench=(mate-backgrounds)  # photographs at their own resolution

missing=()
need() { for p in "$@"; do dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p"); done; }

for profile in "$@"; do
  case "$profile" in
    native) need "${native[@]}" ;;
    windows) need "${windows[@]}"; need "${windows32[@]}" ;;
    fuzz) need "${fuzz[@]}" ;;
    bench) need "${bench[@]}" ;;
    *) echo "install-deps: unknown profile '$profile'" >&2; exit 2 ;;
  esac
done

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}. Run as root, or install them with apt-get." >&2
  exit 1
fi
if printf '%s\n' "${missing[@]}" | grep -q ':i386$'; then
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
