#!/usr/bin/env bash
# Gathers tarvik.exe, tarvik-cli.exe and the parts of Qt the window needs into a folder that
# runs as it is, packs that folder as the portable zip, and builds the NSIS installer from it.
# Usage: scripts/deploy-windows.sh BUILD_DIR QT_PREFIX OUT_DIR
# Writes OUT_DIR/tarvik-VERSION-win64/ (the folder), OUT_DIR/tarvik-VERSION-win64.zip and
# OUT_DIR/tarvik-VERSION-win64-setup.exe. Needs makensis (Debian's nsis) and zip.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
qt=$2
mkdir -p "$3"
out=$(cd "$3" && pwd)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name=tarvik-$version-win64
folder=$out/$name
rm -rf "$folder" "$out/$name.zip" "$out/$name-setup.exe"
mkdir -p "$folder/platforms" "$folder/styles"

# The programs, the three Qt libraries a Widgets program loads, the Windows platform plugin and
# the native style. Qt looks for plugins in the program's own folder, so no qt.conf is needed.
cp "$build/src/shell/tarvik.exe" "$build/src/cli/tarvik-cli.exe" "$folder/"
cp "$qt/bin/Qt6Core.dll" "$qt/bin/Qt6Gui.dll" "$qt/bin/Qt6Widgets.dll" "$folder/"
cp "$qt/plugins/platforms/qwindows.dll" "$folder/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$folder/styles/"
x86_64-w64-mingw32-strip --strip-all "$folder"/*.exe
x86_64-w64-mingw32-strip --strip-unneeded "$folder"/*.dll "$folder"/*/*.dll

# Every DLL a file imports is either in the folder or part of Windows: a compiler runtime or a
# Qt library left behind would only show on a machine that lacks it.
missing=$(for file in "$folder"/*.exe "$folder"/*.dll "$folder"/*/*.dll; do
    x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'
done | sort -fu | while read -r dll; do
    if [[ ! -e "$folder/$dll" ]] && [[ "$dll" =~ ^(lib|Qt6) ]]; then
        echo "$dll"
    fi
done)
if [[ -n "$missing" ]]; then
    echo "deploy-windows: the folder lacks: $missing" >&2
    exit 1
fi

(cd "$out" && zip -qr9 "$name.zip" "$name")

# The installer installs exactly the folder's files and its uninstaller removes exactly those.
lists=$out/nsis-lists
rm -rf "$lists"
mkdir -p "$lists"
(
    cd "$folder"
    find . -type d | sort | while read -r dir; do
        rel=${dir#./}
        [[ "$dir" == "." ]] && rel=""
        echo "SetOutPath \"\$INSTDIR${rel:+\\${rel//\//\\}}\""
        find "$dir" -maxdepth 1 -type f | sort | while read -r file; do
            echo "File \"$folder/${file#./}\""
        done
    done >"$lists/install_files.nsh"
    {
        find . -type f | sort | while read -r file; do
            rel=${file#./}
            echo "Delete \"\$INSTDIR\\${rel//\//\\}\""
        done
        find . -mindepth 1 -type d | sort -r | while read -r dir; do
            rel=${dir#./}
            echo "RMDir \"\$INSTDIR\\${rel//\//\\}\""
        done
    } >"$lists/uninstall_files.nsh"
)
makensis -V2 -DVERSION="$version" -DFILE_LISTS="$lists" -DOUTFILE="$out/$name-setup.exe" \
    "$repo/packaging/windows/tarvik.nsi" >&2

echo "Windows packages in $out:" >&2
du -sh "$folder" "$out/$name.zip" "$out/$name-setup.exe" >&2
