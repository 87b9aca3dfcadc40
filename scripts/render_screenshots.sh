#!/usr/bin/env bash
# Renders the main window in German, English and Russian (after identifying the virtual
# programmer's ATmega8), its questions about unsaved edits and its message for a file it does
# not read in each language, and the info window to PNG files, offscreen, for review.
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
for lang in de en ru; do
    ls -1 "$out/main-$lang.png" "$out/question-reload-$lang.png" \
        "$out/question-close-$lang.png" "$out/message-unknown-file-$lang.png"
done
ls -1 "$out/info.png"
