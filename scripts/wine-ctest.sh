#!/usr/bin/env bash
# Runs ctest in each given Windows build directory under Wine, with one
# persistent wineserver for all of them (without it every test waits for the
# services its first Wine process spawned). Expects DISPLAY (with-xvfb.sh).
# Usage: wine-ctest.sh PREFIX BUILD_DIR...
# CTEST_ARGS adds options to each ctest run (for example "-R photo_tests").
set -uo pipefail

export WINEPREFIX=$(realpath "$1") WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8
shift
jobs=${CTEST_JOBS:-2}

# A wineserver left from a run without DISPLAY would give programs a desktop
# without a display driver.
wineserver -k 2>/dev/null || true
wineserver -w
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
/usr/lib/wine/wine64 cmd /c exit 0 >/dev/null 2>&1 </dev/null

status=0
for dir in "$@"; do
  echo "== ctest $(basename "$dir") (Wine)"
  # GUI tests under Wine depend on timing; one that fails is run once more.
  (cd "$dir" && ctest --output-on-failure -j "$jobs" --repeat until-pass:2 ${CTEST_ARGS:-}) || status=1
done
exit $status
