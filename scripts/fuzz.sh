#!/usr/bin/env bash
# `make fuzz`: runs the encoder fuzz target under libFuzzer with ASan and
# UBSan for FUZZ_SECONDS (default 300), starting from the checked-in corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh native fuzz
build=${BUILD:-build}/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVARDOLIN_SANITIZE=ON -DVARDOLIN_FUZZ=ON >/dev/null
cmake --build "$build" --target encoder_fuzzer -j "$(nproc)"
mkdir -p "$build/corpus" "$build/findings"
cp -n tools/fuzz/corpus/* "$build/corpus/" 2>/dev/null || true
seconds=${FUZZ_SECONDS:-300}
echo "Fuzzing for $seconds s; new inputs go to $build/corpus, findings to $build/findings"
"$build/tools/fuzz/encoder_fuzzer" "$build/corpus" tools/fuzz/corpus -max_total_time="$seconds" \
  -max_len=4096 -print_final_stats=1 -artifact_prefix="$build/findings/"
