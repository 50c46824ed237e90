#!/usr/bin/env bash
# Sets up, builds the optimised tree and runs the preview renderer on its default sheet.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target quarel-preview
# Without arguments: the default sheet, always to the same file, so a second run replaces it.
if [ $# -eq 0 ]; then set -- --sheet --out out/patterns.png; fi
build/release/preview/quarel-preview "$@"
