#!/usr/bin/env bash
# Start-up benchmark of the desktop program: the time from launching tarvik to its main window
# being shown (target: under 400 ms), and its resident memory with a 64 KiB file loaded
# (target: under 80 MB). Runs offscreen with the in-process virtual programmer and a fresh
# settings folder; prints the median of several cold starts.
# Usage: bench/startup_bench.sh [RUNS] (default 9). TARVIK_BIN may point at the binary.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-9}"
bin="${TARVIK_BIN:-build/src/shell/tarvik}"
if [[ ! -x "$bin" ]]; then
    echo "No tarvik binary at $bin: build it first (scripts/build.sh) or set TARVIK_BIN." >&2
    exit 1
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
head -c 65536 /dev/urandom >"$work/image.bin"

times=()
rss=()
for ((i = 0; i < runs; i++)); do
    config="$work/config-$i"
    mkdir -p "$config"
    result="$(XDG_CONFIG_HOME="$config" QT_QPA_PLATFORM=offscreen \
        TARVIK_LAUNCH_NS="$(date +%s%N)" "$bin" --emulate --benchmark-startup "$work/image.bin")"
    times+=("$(sed -n 's/^startup_ms=//p' <<<"$result")")
    rss+=("$(sed -n 's/^rss_kib=//p' <<<"$result")")
    bytes="$(sed -n 's/^buffer_bytes=//p' <<<"$result")"
    if [[ "$bytes" != 65536 ]]; then
        echo "the 64 KiB file was not loaded (buffer holds ${bytes:-nothing})" >&2
        exit 1
    fi
done

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
startup="$(median "${times[@]}")"
memory="$(median "${rss[@]}")"
printf 'startup to window shown: median %s ms over %d runs (target < 400 ms)\n' "$startup" "$runs"
printf 'resident memory with a 64 KiB buffer: median %.1f MB (target < 80 MB)\n' \
    "$(awk -v k="$memory" 'BEGIN { print k / 1024 }')"
