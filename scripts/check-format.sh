#!/usr/bin/env bash
# Fails, naming the files, when a C++ source is not as .clang-format lays it
# out. Fix with: clang-format -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t sources < <(git ls-files "*.cpp" "*.h" "*.inl")
unformatted=()
for file in "${sources[@]}"; do
  clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "These files are not formatted as .clang-format says (run: clang-format -i FILE...):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "format: ${#sources[@]} C++ files as .clang-format lays them out"
