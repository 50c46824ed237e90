#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing. Safe to run twice.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-missing.sh cmake ninja-build g++ clang libclang-rt-14-dev clang-format pkg-config \
  libpng-dev libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev \
  libfreetype-dev fonts-dejavu-core libopenexr-dev python3
# The Khronos glTF validator, which the bake's tests run on the material file the bake writes;
# from npm into .cache/ (skipped where node is missing: that test then says so and skips).
validator=.cache/gltf-validator
if command -v npm >/dev/null && [ ! -d "$validator/node_modules/gltf-validator" ]; then
  npm install --prefix "$validator" --no-audit --no-fund --silent gltf-validator@2.0.0-dev.3.10 ||
    echo "setup: could not install gltf-validator from npm; its test will fail" >&2
fi
