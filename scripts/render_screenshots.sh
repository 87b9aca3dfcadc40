#!/usr/bin/env bash
# Renders the main window in German, English and Russian (after identifying the virtual
# programmer's ATmega8) and the info window to PNG files, offscreen, for review.
# Usage: scripts/render_screenshots.sh [OUTPUT_DIR] (default: build/screenshots)
# TARVIK_BIN may point at another tarvik binary (default: build/src/shell/tarvik).
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-build/screenshots}"
bin="${TARVIK_BIN:-build/src/shell/tarvik}"
if [[ ! -x "$bin" ]]; then
    echo "No tarvik binary at $bin: build it first (scripts/build.sh) or set TARVIK_BIN." >&2
    exit 1
fi
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen "$bin" --screenshot "$out"
ls -1 "$out"/main-de.png "$out"/main-en.png "$out"/main-ru.png "$out"/info.png
