#!/usr/bin/env bash
# Installs and uninstalls Tarvik with its Windows installer under wine, in a wine prefix of its
# own, and checks each step: a silent install (/S, /D=) puts every file of the portable folder
# in place with a Start menu entry and an "Apps & features" entry; the installed tarvik-cli.exe
# identifies the virtual programmer's chip; the installed tarvik.exe starts (offscreen) and
# stores its settings under HKEY_CURRENT_USER\Software\Tarvik; a silent uninstall removes every
# installed file, the Start menu entry and the uninstall entry, and leaves the settings.
# The installed window runs on Qt's offscreen platform, which is no part of the installation:
# it comes from the plugins of the Qt build QT_PREFIX.
# Usage: scripts/test-windows-install.sh INSTALLER PORTABLE_FOLDER QT_PREFIX
set -euo pipefail
installer=$(realpath "$1")
folder=$(realpath "$2")
qt_plugins=$(realpath "$3/plugins")

prefix_parent=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$prefix_parent"' EXIT
export WINEPREFIX=$prefix_parent/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine hands no QT_* variable to a program; WINEQT_* arrive as QT_*.
export WINEQT_QPA_PLATFORM=offscreen WINEQT_QPA_FONTDIR='Z:\usr\share\wine\fonts'
unset DISPLAY

step() { echo "== $*"; }
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

step "a fresh wine prefix"
wineboot --init >/dev/null 2>&1
wineserver -w

dest='C:\Program Files\Tarvik'
installed=$WINEPREFIX/drive_c/Program\ Files/Tarvik
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvik'
start_menu=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Tarvik.lnk

step "silent install for all users into $dest"
start=$(date +%s%N)
wine "$installer" /S /AllUsers "/D=$dest"
wineserver -w
echo "took $((($(date +%s%N) - start) / 1000000)) ms"
diff <(cd "$folder" && find . -type f | sort) \
    <(cd "$installed" && find . -type f ! -name uninstall.exe | sort) ||
    fail "the installed files differ from the portable folder's"
(cd "$folder" && find . -type f) | while read -r file; do
    cmp -s "$folder/$file" "$installed/$file" || fail "$file differs from the portable folder's"
done
[[ -f "$installed/uninstall.exe" ]] || fail "no uninstaller"
[[ -f "$start_menu" ]] || fail "no Start menu entry"
wine reg query "$uninstall_key" /v UninstallString | grep -q 'uninstall.exe' ||
    fail "no uninstall entry"

step "the installed tarvik-cli.exe identifies the virtual programmer's chip"
detect=$(wine "$dest\\tarvik-cli.exe" --programmer emulate:ATmega8 detect | tr -d '\r') ||
    fail "tarvik-cli.exe detect ended with an error: $detect"
echo "$detect"
grep -q "ATmega8" <<<"$detect" || fail "tarvik-cli.exe did not identify the ATmega8"

step "the installed tarvik.exe starts offscreen and stores its settings"
plugins=$(winepath -w "$qt_plugins")
WINEQT_PLUGIN_PATH=$plugins wine "$dest\\tarvik.exe" --emulate --benchmark-startup | tr -d '\r' ||
    fail "tarvik.exe ended with an error"
wineserver -w
settings=$(wine reg query 'HKCU\Software\Tarvik' | tr -d '\r')
echo "$settings"
for value in "Verify after program" "Update buffer from file" "Language" "Last Device"; do
    grep -Eq "^\s+$value\s+REG_DWORD\s+0x" <<<"$settings" || fail "no REG_DWORD \"$value\""
done

step "silent uninstall"
wine "$dest\\uninstall.exe" /AllUsers /S
wineserver -w
[[ ! -e "$installed" ]] || fail "left behind: $(cd "$installed" && find . | tr '\n' ' ')"
[[ ! -e "$start_menu" ]] || fail "the Start menu entry is left behind"
if wine reg query "$uninstall_key" >/dev/null 2>&1; then
    fail "the uninstall entry is left behind"
fi
wine reg query 'HKCU\Software\Tarvik' /v Language >/dev/null || fail "the settings went too"
echo "install test passed"
