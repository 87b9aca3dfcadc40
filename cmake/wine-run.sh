#!/bin/sh
# Runs a Windows program of the build under wine64: wine-run.sh PREFIX PROGRAM ARGS…, in the
# build folder's own wine prefix PREFIX.
WINEPREFIX=$1
shift
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
if [ -x /usr/lib/wine/wine64 ]; then
    exec /usr/lib/wine/wine64 "$@"
fi
exec wine64 "$@"
