#!/usr/bin/env bash
# Configures and builds Tarvik in ./build (extra arguments go to cmake's configure step).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build --parallel "$(nproc)"
