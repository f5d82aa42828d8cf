#!/usr/bin/env bash
# `make fuzz`: runs every fuzz target under libFuzzer with ASan and UBSan for
# FUZZ_SECONDS each (default 300), starting from its checked-in corpus
# (tools/fuzz/corpus/NAME), and ends with each target's speed and coverage.
# FUZZ_TARGETS="encoder reader" runs only those.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh native fuzz
build=${BUILD:-build}/fuzz
read -r -a targets <<< "${FUZZ_TARGETS:-encoder sizes reader command_line}"
seconds=${FUZZ_SECONDS:-300}
# Inputs longer than this add nothing: the encoder repeats its pixel bytes,
# the sizes target reads a dozen bytes, a picture file this long already
# holds thousands of pixels, and a command line this long a dozen options.
declare -A max_len=([encoder]=4096 [sizes]=64 [reader]=4096 [command_line]=256)

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVARDOLIN_SANITIZE=ON -DVARDOLIN_FUZZ=ON >/dev/null
cmake --build "$build" -j "${JOBS:?run through make fuzz, which sets JOBS}" --target "${targets[@]/%/_fuzzer}"

summary=() failed=()
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target findings=$build/findings/$target log=$build/$target.log
  mkdir -p "$corpus" "$findings"
  echo "Fuzzing $target for $seconds s ($(uptime | sed 's/.*load/load/')); new inputs go to $corpus," \
       "findings to $findings, the log to $log"
  # A single allocation above 64 MB is a finding: no input this short may ask for that much.
  if ! "$build/tools/fuzz/${target}_fuzzer" "$corpus" "tools/fuzz/corpus/$target" -max_total_time="$seconds" \
      -max_len="${max_len[$target]}" -malloc_limit_mb=64 -timeout=30 -print_final_stats=1 \
      -artifact_prefix="$findings/" >"$log" 2>&1; then
    failed+=("$target")
    grep -E "^(==[0-9]+==ERROR|FINDING|SUMMARY|artifact_prefix|Test unit written)" "$log" | head -20 || true
  fi
  done_line=$(grep -E "^#[0-9]+[[:space:]]+DONE" "$log" | tail -1 || true)
  summary+=("$(printf '%-8s %s' "$target" "${done_line:-(stopped early: see $log)}")")
done

echo "Per target: runs, coverage (cov: edges, ft: features), corpus, exec/s"
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
  echo "Findings in: ${failed[*]} (inputs under $build/findings)" >&2
  exit 1
fi
