#!/usr/bin/env bash
# `make install` as it runs cmake --install, with DESTDIR and a prefix: the
# encoder and its manual page, nothing else, and the installed encoder runs.
# Usage: install_test.sh BUILD_DIR
set -u
build=$1
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
DESTDIR=$dest cmake --install "$build" --prefix /opt/vardolin >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
installed=$(cd "$dest" && find . -type f | sort | xargs)
expected="./opt/vardolin/bin/vardolin-jpeg ./opt/vardolin/share/man/man1/vardolin-jpeg.1"
[ "$installed" = "$expected" ] || { echo "FAIL: installed '$installed', expected '$expected'"; exit 1; }
"$dest/opt/vardolin/bin/vardolin-jpeg" --version | grep -q '^vardolin-jpeg [0-9]' || { echo "FAIL: installed encoder"; exit 1; }
echo "installed $expected"
