#!/usr/bin/env bash
# Builds the part of Qt that the Tarvik window needs (Core, Gui, Widgets, Test and the Windows
# platform, offscreen and style plugins) for x86_64-w64-mingw32 from Debian's own qt6-base source,
# with the patches in packaging/windows/qt-patches, and installs it into a cache folder outside the
# repository. The folder's name holds the Qt version and a hash of the patches and the build
# options, so a change to either builds afresh; a finished folder is reused as it is.
# Prints the folder's path on stdout as its last line; progress goes to stderr and the full build
# output to a log file next to the folder.
#
#   scripts/build-qt-windows.sh            build if needed, print the folder
#   scripts/build-qt-windows.sh --path     only print the folder (built or not)
#
# Needs: dpkg-dev (apt-get source), the mingw-w64 posix compilers, cmake, ninja, and Debian's
# native Qt 6.4.2 (qt6-base-dev, qt6-base-dev-tools), whose moc, rcc and uic serve as host tools.
# The deb-src entry lives in a private apt folder; the system's apt configuration is left alone.
set -euo pipefail

qt_version=6.4.2
repo=$(cd "$(dirname "$0")/.." && pwd)
patch_dir=$repo/packaging/windows/qt-patches
cache_root=${XDG_CACHE_HOME:-$HOME/.cache}/tarvik
jobs=${TARVIK_QT_JOBS:-2}

# The cross toolchain Qt is built with. The C and C++ runtimes are linked statically into every
# Qt library and plugin so that a deployed program needs no compiler DLLs.
toolchain='set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -static)'

# What a Widgets program needs and no more. Third-party code comes from Qt's own copies so that
# nothing of the build machine's libraries leaks in. Direct2D is left out (it does not build with
# mingw-w64), and so is tablet input (Debian's source drops the wintab headers). FreeType stays
# on: without it Qt has no offscreen platform plugin, which the tests under wine use.
options=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=ON
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    -DFEATURE_network=OFF
    -DFEATURE_sql=OFF
    -DFEATURE_dbus=OFF
    -DFEATURE_xml=OFF
    -DFEATURE_concurrent=OFF
    -DFEATURE_printsupport=OFF
    -DFEATURE_opengl=OFF
    -DFEATURE_vulkan=OFF
    -DFEATURE_direct2d=OFF
    -DFEATURE_tabletevent=OFF
    -DFEATURE_zstd=OFF
    -DFEATURE_testlib=ON
    -DFEATURE_freetype=ON
    -DFEATURE_system_zlib=OFF
    -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_freetype=OFF
    -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_png=OFF
    -DFEATURE_system_jpeg=OFF
)

patches=()
if compgen -G "$patch_dir/*.patch" >/dev/null; then
    patches=("$patch_dir"/*.patch)
fi

key=$({
    printf '%s\n' "$toolchain" "${options[@]}"
    for p in "${patches[@]}"; do
        basename "$p"
        cat "$p"
    done
} | sha256sum | cut -c1-12)
prefix=$cache_root/qt-$qt_version-mingw-$key
stamp=$prefix/.tarvik-qt-complete

if [[ "${1:-}" == "--path" ]]; then
    echo "$prefix"
    exit 0
fi
if [[ -f "$stamp" ]]; then
    echo "Qt for Windows: reusing $prefix" >&2
    echo "$prefix"
    exit 0
fi

host_version=$(sed -n 's/^set(PACKAGE_VERSION "\(.*\)")$/\1/p' \
    /usr/lib/x86_64-linux-gnu/cmake/Qt6/Qt6ConfigVersionImpl.cmake 2>/dev/null || true)
if [[ "$host_version" != "$qt_version" ]]; then
    echo "Qt for Windows: the host tools must be Qt $qt_version (qt6-base-dev, qt6-base-dev-tools);" \
        "found '${host_version:-none}'" >&2
    exit 1
fi

work=$cache_root/qt-$qt_version-mingw-$key.work
log=$prefix.log
rm -rf "$work" "$prefix"
mkdir -p "$work/apt/sources.list.d" "$work/apt/lists/partial" "$work/apt/cache/archives/partial" \
    "$work/source"
echo "Qt for Windows: building into $prefix (log: $log)" >&2
started=$(date +%s)

{
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg]" \
        "http://deb.debian.org/debian bookworm main" >"$work/apt/sources.list"
    apt_private=(
        -o "Dir::Etc::sourcelist=$work/apt/sources.list"
        -o "Dir::Etc::sourceparts=$work/apt/sources.list.d"
        -o "Dir::State::Lists=$work/apt/lists"
        -o "Dir::Cache=$work/apt/cache"
        -o "APT::Sandbox::User=$(id -un)"
    )
    apt-get "${apt_private[@]}" update
    (cd "$work/source" && apt-get "${apt_private[@]}" source --only-source qt6-base)
    src=$(echo "$work/source"/qt6-base-*/)
    [[ "$src" == */qt6-base-"$qt_version"+*/ ]] || {
        echo "Debian's qt6-base is not Qt $qt_version: $src"
        exit 1
    }
    for p in "${patches[@]}"; do
        echo "applying $(basename "$p")"
        patch -d "$src" -p1 --forward <"$p"
    done

    printf '%s\n' "$toolchain" >"$work/toolchain.cmake"
    cmake -S "$src" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
        -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}"
    cmake --build "$work/build" --parallel "$jobs"
    cmake --install "$work/build"
} >"$log" 2>&1 || {
    echo "Qt for Windows: the build failed; the end of $log:" >&2
    tail -n 30 "$log" >&2
    exit 1
}

rm -rf "$work"
minutes=$((($(date +%s) - started + 59) / 60))
echo "built in about $minutes min, $(du -sh "$prefix" | cut -f1) installed" >"$stamp"
echo "Qt for Windows: $(cat "$stamp")" >&2
echo "$prefix"
