#!/usr/bin/env bash
# Configures and builds Tarvik in ./build (extra arguments go to cmake's configure step).
# TARVIK_WERROR=ON in the environment turns compiler warnings into errors, as CI does.
set -euo pipefail
cd "$(dirname "$0")/.."
werror=()
if [[ -n "${TARVIK_WERROR:-}" ]]; then
    werror=("-DTARVIK_WERROR=${TARVIK_WERROR}")
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${werror[@]}" "$@"
cmake --build build --parallel "$(nproc)"
