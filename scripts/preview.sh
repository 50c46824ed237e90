#!/usr/bin/env bash
# Sets up, builds the optimised tree and runs the preview renderer on its default sheet.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target quarel-preview
build/release/preview/quarel-preview "$@"
