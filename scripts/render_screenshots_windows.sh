#!/usr/bin/env bash
# Renders the main window in German, English and Russian (after identifying the virtual
# programmer's ATmega8) and the info window from tarvik.exe under wine, to PNG files for review:
# on a virtual X display (Xvfb) with Qt's windows platform plugin, so the pictures show the
# Windows style and the fonts the program finds there.
# Usage: scripts/render_screenshots_windows.sh PORTABLE_FOLDER [OUTPUT_DIR]
# (default OUTPUT_DIR: build-windows/screenshots)
set -euo pipefail
folder=$(realpath "$1")
cd "$(dirname "$0")/.."
out="${2:-build-windows/screenshots}"
mkdir -p "$out"
out=$(realpath "$out")

prefix_parent=$(mktemp -d)
trap 'rm -rf "$prefix_parent"' EXIT
export WINEPREFIX=$prefix_parent/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export folder out
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    wineboot --init >/dev/null 2>&1
    wineserver -w
    wine "$folder/tarvik.exe" --screenshot "$(winepath -w "$out")"
    status=$?
    wineserver -k
    exit $status'
ls -1 "$out"/main-de.png "$out"/main-en.png "$out"/main-ru.png "$out"/info.png
