#!/usr/bin/env bash
# Runs every built test suite, the independent ones side by side: the native
# and sanitizer suites (at a lower priority: they only need the processor)
# beside the x86_64 and the i686 Windows suites, each of those in a Wine
# prefix and on an Xvfb display of its own, so that neither sees the other's
# windows, focus or registry, and beside the release and package tests (in a
# prefix of their own, without windows). Then the check that reads both
# Windows builds' results. Each group's output is printed whole when it ends.
# Usage: run-tests.sh BUILD
set -uo pipefail
cd "$(dirname "$0")/.."
build=$(realpath -m "${1:-build}")
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
jobs=${JOBS:-$(nproc)}

native() {
  local dir status=0
  for dir in "$build/native" "$build/asan"; do
    echo "== ctest $(basename "$dir")"
    (cd "$dir" && nice -n 10 ctest --output-on-failure -j "$jobs") || status=1
  done
  return $status
}
windows() {  # PREFIX BUILD_DIR
  bash scripts/with-xvfb.sh bash scripts/wine-ctest.sh "$1" "$2"
}
release() {
  bash release/tests/release_test.sh "$build" && bash release/tests/msi_test.sh "$build"
}

native >"$logs/native" 2>&1 &
native_pid=$!
windows "$build/wineprefix" "$build/win64" >"$logs/win64" 2>&1 &
win64_pid=$!
windows "$build/wineprefix32" "$build/win32" >"$logs/win32" 2>&1 &
win32_pid=$!
release >"$logs/release" 2>&1 &
release_pid=$!

status=0
for group in native win64 win32 release; do
  pid_name=${group}_pid
  wait "${!pid_name}" || { status=1; echo "== $group: FAILED"; }
  cat "$logs/$group"
done
[ $status -eq 0 ] || exit 1

bash scripts/wine-crosscheck.sh "$build"
