#!/bin/sh
# Installs what is missing, then builds the saver (Release) into
# build/release; the program is build/release/vyn.
set -eu
cd "$(dirname "$0")/.."

./scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --target vyn
echo "build: build/release/vyn is ready"
