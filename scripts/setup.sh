#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing. Safe to run twice.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-missing.sh cmake ninja-build g++ clang libclang-rt-14-dev clang-format pkg-config \
  libpng-dev libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev \
  libfreetype-dev fonts-dejavu-core libopenexr-dev
