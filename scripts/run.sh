#!/usr/bin/env bash
# `make run`: encodes the bundled demo portrait with the command-line encoder
# at the capture window's settings (4:4:4) and at the encoder's defaults.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/demo
mkdir -p "$out"
tool=build/native/tools/vardolin-jpeg
"$tool" tools/demo/portrait.ppm "$out/portrait-444.jpg" --quality 90 --sampling 1,1,1,1,1,1 --force
"$tool" tools/demo/portrait.ppm "$out/portrait-420.jpg" --force
for f in "$out"/portrait-444.jpg "$out"/portrait-420.jpg; do
  djpeg -outfile "$out/decoded.ppm" "$f"
  size=$(sed -n 2p "$out/decoded.ppm" | tr ' ' x)
  echo "Wrote $(realpath "$f") ($(stat -c %s "$f") bytes, decodes to $size pixels)"
done
