#!/usr/bin/env bash
# Builds tarvik.exe and tarvik-cli.exe for 64-bit Windows on Debian with mingw-w64, runs the
# test programs under wine64 (the window's offscreen), packs tarvik-cli-VERSION-windows-x64.zip,
# the portable folder and zip of both programs and their installer, and tests the installer
# under wine, all in DIR (default build-windows/). What is missing is installed from Debian
# first (sudo when not root); googletest and Qt (scripts/build-qt-windows.sh, about 30
# CPU-minutes the first time) are built once for the target and kept in
# ${XDG_CACHE_HOME:-$HOME/.cache}/tarvik/.
#
#   scripts/build-windows.sh [DIR]
#
# Steps, each a function below: packages, googletest, Qt, configure, build, tests, packages,
# installer test.
# TARVIK_WINDOWS_JOBS sets the build's parallelism (default: the number of processors).
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD
build_dir=$(realpath -m "${1:-build-windows}")
cache_dir="${XDG_CACHE_HOME:-$HOME/.cache}/tarvik"
jobs=${TARVIK_WINDOWS_JOBS:-$(nproc)}
toolchain=$source_dir/cmake/x86_64-w64-mingw32.cmake
triple=x86_64-w64-mingw32
export WINEPREFIX=$build_dir/wine-prefix
export WINEDEBUG=-all
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)

step() { printf '\n== %s\n' "$*"; }

install_packages() {
    local wanted=(g++-mingw-w64-x86-64-posix wine64 wine cmake ninja-build zip dpkg-dev nsis
                  qt6-base-dev qt6-base-dev-tools fonts-wine)
    local missing=()
    for package in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    if ((${#missing[@]})); then
        step "Installing ${missing[*]}"
        "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
    fi
}

# googletest's Debian sources, fetched with apt-get source through a private apt folder with a
# deb-src entry (the system's apt configuration is left alone).
fetch_googletest_source() {
    local source=$cache_dir/googletest-source
    if [[ -f $source/CMakeLists.txt ]]; then
        echo "$source"
        return
    fi
    local apt=$cache_dir/apt
    mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/sources.list.d"
    local suite
    suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
    printf 'deb-src http://deb.debian.org/debian %s main\n' "$suite" >"$apt/sources.list"
    local options=(-o "Dir::Etc::sourcelist=$apt/sources.list"
                   -o "Dir::Etc::sourceparts=$apt/sources.list.d"
                   -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache")
    apt-get "${options[@]}" update >&2
    local unpacked=$cache_dir/googletest-unpack
    rm -rf "$unpacked"
    mkdir -p "$unpacked"
    (cd "$unpacked" && apt-get "${options[@]}" source googletest >&2)
    local tree
    tree=$(find "$unpacked" -mindepth 1 -maxdepth 1 -type d -name 'googletest-*' | head -n 1)
    rm -rf "$source"
    mv "$tree" "$source"
    rm -rf "$unpacked"
    echo "$source"
}

build_googletest() {
    googletest=$cache_dir/googletest-$triple
    if [[ -f $googletest/lib/cmake/GTest/GTestConfig.cmake ]]; then
        return
    fi
    step "Building googletest for $triple"
    local source
    source=$(fetch_googletest_source)
    cmake -S "$source" -B "$cache_dir/googletest-build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$googletest" -DBUILD_GMOCK=OFF -Dgtest_force_shared_crt=ON
    cmake --build "$cache_dir/googletest-build" --parallel "$jobs"
    cmake --install "$cache_dir/googletest-build"
    rm -rf "$cache_dir/googletest-build"
}

# Qt's own toolchain file finds the Windows Qt and Debian's native Qt tools (moc, rcc, uic) and
# hands the compilers over to ours.
build_qt() {
    step "Qt for Windows"
    qt=$("$source_dir/scripts/build-qt-windows.sh" | tail -n 1)
}

configure() {
    step "Configuring in $build_dir"
    cmake -S "$source_dir" -B "$build_dir" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain" -DCMAKE_PREFIX_PATH="$qt" \
        -DCMAKE_BUILD_TYPE=Release -DGTest_DIR="$googletest/lib/cmake/GTest" \
        -DTARVIK_GUI=ON -DTARVIK_BENCH=OFF -DTARVIK_WERROR="${TARVIK_WERROR:-OFF}"
}

build() {
    step "Building"
    local started=$SECONDS
    cmake --build "$build_dir" --parallel "$jobs"
    echo "Build time: $((SECONDS - started)) s"
}

# One wine prefix made afresh for the run, and one wineserver kept running through it, so the
# test programs do not each pay for starting one.
run_tests() {
    step "Testing under wine in $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    local started=$SECONDS
    wineserver -p
    trap 'wineserver -k 2>/dev/null || true' EXIT
    "$source_dir/cmake/wine-run.sh" "$WINEPREFIX" wineboot -i >/dev/null 2>&1
    # The Qt test programs find the Qt libraries through wine's PATH.
    WINEPATH=$(winepath -w "$qt/bin") ctest --test-dir "$build_dir" --output-on-failure \
        --parallel "$jobs"
    echo "Wine test time (with the prefix): $((SECONDS - started)) s"
    wineserver -k || true
    trap - EXIT
}

# The program, the README and the licence texts of what it links: this project's, and the
# mingw-w64 runtime's and GCC runtime's from the Debian packages.
package() {
    local version
    version=$(sed -n 's/^project(Tarvik VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
    local name=tarvik-cli-$version-windows-x64
    local stage=$build_dir/$name
    step "Packing $name.zip"
    rm -rf "$stage" "$build_dir/$name.zip"
    mkdir -p "$stage/licences"
    cp "$build_dir/src/cli/tarvik-cli.exe" "$stage/"
    "$triple-strip" "$stage/tarvik-cli.exe"
    cp "$source_dir/README.md" "$stage/"
    cp "$source_dir/packaging/copyright" "$stage/licences/tarvik.txt"
    # The C and C++ runtime and winpthreads come from these packages; their copyright files
    # carry the licences (GPL with the runtime exception, the mingw-w64 and winpthreads terms).
    local doc
    for doc in gcc-mingw-w64-base mingw-w64-common mingw-w64-x86-64-dev; do
        cp "/usr/share/doc/$doc/copyright" "$stage/licences/$doc.txt"
    done
    (cd "$build_dir" && zip -qr "$name.zip" "$name")
    echo "$build_dir/$name.zip"
}

# The window's portable folder and zip, and the installer (scripts/deploy-windows.sh), then the
# installer's test under wine.
package_window() {
    step "Packing tarvik.exe: portable folder, zip and installer"
    "$source_dir/scripts/deploy-windows.sh" "$build_dir" "$qt" "$build_dir"
    local version
    version=$(sed -n 's/^project(Tarvik VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
    step "Installer test under wine"
    local started=$SECONDS
    "$source_dir/scripts/test-windows-install.sh" "$build_dir/tarvik-$version-win64-setup.exe" \
        "$build_dir/tarvik-$version-win64" "$qt"
    echo "Installer test time: $((SECONDS - started)) s"
}

install_packages
build_googletest
build_qt
configure
build
run_tests
package
package_window
