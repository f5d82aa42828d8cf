#!/usr/bin/env bash
# The one place that runs the built test suites (`make test`, `make
# test-native` and `make test-windows` all come here), the independent ones
# side by side: the native and sanitizer suites (at a lower priority: they
# only need the processor) beside the x86_64 and the i686 Windows suites, each
# of those in a Wine prefix and on an Xvfb display of its own, so that neither
# sees the other's windows, focus or registry, and beside the release and
# package tests (in a prefix of their own, without windows). Then, after the
# Windows side, the check that reads both Windows builds' results. Each
# group's output is printed whole when it ends. A second argument runs one
# side alone. JOBS (set by make) is the native suites' ctest parallelism.
# Usage: run-tests.sh BUILD [native|windows]
set -uo pipefail
cd "$(dirname "$0")/.."
build=$(realpath -m "${1:-build}")
side=${2:-all}
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
jobs=${JOBS:?run through make, which sets JOBS}

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

case $side in
  native) groups=(native) ;;
  windows) groups=(win64 win32 release) ;;
  all) groups=(native win64 win32 release) ;;
  *) echo "run-tests.sh: unknown side '$side' (native or windows)" >&2; exit 2 ;;
esac
declare -A pids
for group in "${groups[@]}"; do
  case $group in
    native) native ;;
    win64) windows "$build/wineprefix" "$build/win64" ;;
    win32) windows "$build/wineprefix32" "$build/win32" ;;
    release) release ;;
  esac >"$logs/$group" 2>&1 &
  pids[$group]=$!
done

status=0
for group in "${groups[@]}"; do
  wait "${pids[$group]}" || { status=1; echo "== $group: FAILED"; }
  cat "$logs/$group"
done
[ $status -eq 0 ] || exit 1

[ "$side" = native ] || bash scripts/wine-crosscheck.sh "$build"
