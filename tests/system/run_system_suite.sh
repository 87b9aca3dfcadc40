#!/usr/bin/env bash
# The system suite: builds a small guest (Debian 12's kernel with hid, uhid and hid-generic,
# udevd, busybox, tarvik-cli and busy_read with their libraries), boots it in QEMU and runs
# guest_scenarios.sh inside, where serve-emulator --uhid makes kernel HID devices for the
# client to find, open, use and lose. Prints one line per scenario and exits non-zero when one
# fails or the guest does not finish.
#
#   tests/system/run_system_suite.sh [BUILD_DIR]                              (default: build)
#   tests/system/run_system_suite.sh --wine [BUILD_DIR [WINDOWS_BUILD_DIR]]   (build-windows)
#
# With --wine the client is WINDOWS_BUILD_DIR's tarvik-cli.exe under wine64 in the guest: it
# reaches the uhid devices through wine's own HID stack (winebus.sys over hidraw, hidclass,
# SetupAPI and HID.dll). The host's /usr (wine and its libraries) is shared read-only with the
# guest over 9p, and a wine prefix made on the host (kept as BUILD_DIR/system/wine-prefix-*.cpio)
# travels in the initramfs, its copies of wine's own DLLs replaced by links to them.
#
# Needs qemu-system-x86, busybox-static, cpio (with --wine also wine64) and apt-get access to
# Debian's archive; the downloaded packages are kept in BUILD_DIR/system/debs.
# TARVIK_SYSTEM_ACCEL=kvm tries KVM first (falling back to TCG when it cannot start);
# TARVIK_SYSTEM_TIMEOUT bounds the guest's run in seconds (default 600);
# TARVIK_SYSTEM_SCENARIOS="detect two-programmers" runs only the scenarios named.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
suite=linux
if [ "${1:-}" = --wine ]; then
    suite=wine
    shift
fi
build="$(cd "${1:-build}" && pwd)"
work="$build/system"
cli="$build/src/cli/tarvik-cli"
busy="$build/tests/system/busy_read"
programs=("$cli")
[ $suite = wine ] || programs+=("$busy") # the wine scenarios hold no device themselves
for program in "${programs[@]}"; do
    [ -x "$program" ] || { echo "missing $program: build tarvik-cli and busy_read first" >&2; exit 2; }
done
wine64=/usr/lib/wine/wine64
if [ $suite = wine ]; then
    windows="$(cd "${2:-build-windows}" && pwd)"
    exe="$windows/src/cli/tarvik-cli.exe"
    [ -f "$exe" ] || { echo "missing $exe: build it with scripts/build-windows.sh first" >&2; exit 2; }
    [ -x "$wine64" ] || { echo "missing $wine64 (wine64)" >&2; exit 2; }
fi
for tool in qemu-system-x86_64 cpio busybox; do
    command -v "$tool" >/dev/null || { echo "missing $tool (qemu-system-x86, cpio, busybox-static)" >&2; exit 2; }
done
busybox_static="$(command -v busybox)"
[ -e /bin/busybox ] && busybox_static=/bin/busybox
if ldd "$busybox_static" >/dev/null 2>&1; then
    echo "$busybox_static is not statically linked: install busybox-static" >&2
    exit 2
fi

mkdir -p "$work/debs"
started=$(date +%s.%N)
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b - a }'; }

# ---- the packages: the kernel linux-image-amd64 depends on, udevd and its library
kernel_package="$(apt-cache depends linux-image-amd64 | awk '/Depends: linux-image-[0-9]/ {print $2; exit}')"
[ -n "$kernel_package" ] || { echo "cannot tell which kernel linux-image-amd64 depends on" >&2; exit 2; }
packages=("$kernel_package" udev libsystemd-shared)
for package in "${packages[@]}"; do
    if ! ls "$work/debs/${package}"_*.deb >/dev/null 2>&1; then
        echo "== downloading $package"
        (cd "$work/debs" && apt-get download -q "$package" 2>&1 | grep -v '^W: Download is performed unsandboxed' || true)
        ls "$work/debs/${package}"_*.deb >/dev/null 2>&1 || { echo "could not download $package" >&2; exit 2; }
    fi
done
extract="$work/extract"
if [ ! -e "$extract/.done-$kernel_package" ]; then
    rm -rf "$extract" && mkdir -p "$extract"
    for package in "${packages[@]}"; do
        dpkg-deb -x "$(ls "$work/debs/${package}"_*.deb | head -1)" "$extract"
    done
    touch "$extract/.done-$kernel_package"
fi
kernel="$(ls "$extract"/boot/vmlinuz-* | head -1)"

# ---- the guest's root (each suite's own, so that the two may run at once)
root="$work/$suite/root"
rm -rf "$root"
mkdir -p "$root"/{bin,dev,proc,sys,run,tmp,etc,lib/modules,lib/systemd,data}
cp "$busybox_static" "$root/bin/busybox"
for applet in $("$root/bin/busybox" --list); do
    [ -e "$root/bin/$applet" ] || ln -s busybox "$root/bin/$applet"
done

# The HID modules (with --wine first those of virtio's 9p transport), uncompressed (busybox
# insmod takes plain .ko files); the init loads them in the order of /etc/modules.
modules=(hid uhid hid-generic)
if [ $suite = wine ]; then
    modules=(virtio_ring virtio virtio_pci_modern_dev virtio_pci_legacy_dev virtio_pci
        netfs fscache 9pnet 9pnet_virtio 9p "${modules[@]}")
fi
printf '%s\n' "${modules[@]}" >"$root/etc/modules"
for module in "${modules[@]}"; do
    found="$(find "$extract/lib/modules" -name "$module.ko*" | head -1)"
    [ -n "$found" ] || { echo "the kernel package has no $module module" >&2; exit 2; }
    case "$found" in
    *.ko) cp "$found" "$root/lib/modules/$module.ko" ;;
    *.ko.xz) xz -dc "$found" >"$root/lib/modules/$module.ko" ;;
    *.ko.zst) zstd -dcq "$found" >"$root/lib/modules/$module.ko" ;;
    *.ko.gz) gzip -dc "$found" >"$root/lib/modules/$module.ko" ;;
    *) echo "cannot unpack $found" >&2; exit 2 ;;
    esac
done

# A program and every library ldd names for it (udevadm's own library from the package).
libpath="$extract/usr/lib/x86_64-linux-gnu/systemd:$extract/usr/lib/x86_64-linux-gnu:$extract/lib/x86_64-linux-gnu"
install_program() { # source target
    cp "$1" "$root$2"
    strip --strip-debug "$root$2" 2>/dev/null || true
    LD_LIBRARY_PATH="$libpath" ldd "$1" | awk '/=> \// {print $3} /^\t\/[^ ]*ld-linux/ {print $1}' |
        while read -r library; do
            case "$library" in "$extract"/*) target="$root${library#"$extract"}" ;; *) target="$root$library" ;; esac
            if [ ! -e "$target" ]; then
                mkdir -p "$(dirname "$target")"
                cp -L "$library" "$target"
            fi
        done
    if LD_LIBRARY_PATH="$libpath" ldd "$1" | grep -q 'not found'; then
        echo "libraries of $1 not found:" >&2
        LD_LIBRARY_PATH="$libpath" ldd "$1" | grep 'not found' >&2
        exit 2
    fi
}
# Libraries may be named under /usr/lib or /lib on the host: one folder in the guest.
mkdir -p "$root/usr" && ln -s ../lib "$root/usr/lib"
install_program "$extract/bin/udevadm" /bin/udevadm
ln -s /bin/udevadm "$root/lib/systemd/systemd-udevd"
install_program "$cli" /bin/tarvik-cli
[ $suite = wine ] || install_program "$busy" /bin/busy_read

cat >"$root/etc/passwd" <<'PASSWD'
root:x:0:0:root:/:/bin/sh
tester:x:1000:1000:tester:/tmp:/bin/sh
PASSWD
printf 'root:x:0:\ntester:x:1000:\n' >"$root/etc/group"

cp "$here/guest_init.sh" "$root/init"
cp "$here/guest_scenarios.sh" "$root/bin/guest_scenarios.sh"
cp "$here/guest_in_wine.sh" "$root/bin/in-wine"
chmod 755 "$root/init" "$root/bin/guest_scenarios.sh" "$root/bin/in-wine"

# ---- the images the scenarios write and read back
make_image() { # bytes name
    head -c "$1" /dev/urandom >"$root/data/$2.bin"
    "$cli" convert "$root/data/$2.bin" "$root/data/$2.hex"
}
make_image 8192 atmega8
make_image 131072 atmega128
make_image 65536 24aa512
grep -q '^:02000004' "$root/data/atmega128.hex" || { echo "the 128 KiB image has no 04 records" >&2; exit 2; }

# ---- with --wine: the root wine runs in, /wine (its /usr the host's, over 9p), with
# tarvik-cli.exe and a wine prefix (wineboot would take a minute in the guest). The prefix
# travels as a second archive of the initramfs, made once per wine (its wine.inf's time, as
# wine checks it), with the udev bus of winebus.sys switched on: while "Enable SDL" is 1 its
# SDL bus starts instead, and no hidraw device ever shows up in wine. Most of a prefix's 700
# MB are copies of wine's own DLLs: the archive holds links to them instead.
make_wine_prefix() { # folder
    export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    "$wine64" wineboot --init
    "$wine64" reg add 'HKLM\System\CurrentControlSet\Services\winebus' /v 'Enable SDL' \
        /t REG_DWORD /d 0 /f
    /usr/lib/wine/wineserver -w
}
archive_wine_prefix() { # archive
    local prefix="$work/wine-prefix" stage="$work/wine-stage" file
    local dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
    rm -rf "$prefix" "$stage" "$work"/wine-prefix-*.cpio
    (make_wine_prefix "$prefix") >"$work/wine-prefix.log" 2>&1 ||
        { cat "$work/wine-prefix.log" >&2; exit 2; }
    mkdir -p "$stage/wine"
    cp -a --attributes-only "$prefix" "$stage/wine/prefix"
    (cd "$prefix" && find . -type f) | while read -r file; do
        if cmp -s "$prefix/$file" "$dlls/${file##*/}"; then
            ln -sf "$dlls/${file##*/}" "$stage/wine/prefix/$file"
        else
            cp -a "$prefix/$file" "$stage/wine/prefix/$file"
        fi
    done
    (cd "$stage" && find . | cpio -o -H newc -R 0:0 --quiet) >"$1"
    rm -rf "$prefix" "$stage"
}
archives=()
if [ $suite = wine ]; then
    wine_prefix="$work/wine-prefix-$(stat -c %Y /usr/share/wine/wine.inf).cpio"
    if [ ! -e "$wine_prefix" ]; then
        prefix_started=$(date +%s.%N)
        archive_wine_prefix "$wine_prefix.part"
        mv "$wine_prefix.part" "$wine_prefix"
        printf '== wine prefix made in %s s\n' "$(elapsed "$prefix_started" "$(date +%s.%N)")"
    fi
    archives=("$wine_prefix")
    mkdir -p "$root/wine"/{usr,dev,proc,sys,run,tmp,data,etc,tarvik}
    for link in bin lib lib64 sbin; do
        ln -s "usr/$link" "$root/wine/$link"
    done
    cp /etc/ld.so.cache "$root/etc/passwd" "$root/etc/group" "$root/wine/etc/"
    # No fonts: a console program needs none, and fontconfig without a file (or a cache
    # folder) complains in the program's output.
    mkdir -p "$root/wine/etc/fonts"
    echo '<fontconfig><cachedir>/tmp/fontconfig</cachedir></fontconfig>' \
        >"$root/wine/etc/fonts/fonts.conf"
    cp "$exe" "$root/wine/tarvik/"
fi

initrd="$work/$suite/initrd.cpio"
(cd "$root" && find . | cpio -o -H newc -R 0:0 --quiet) | cat - "${archives[@]}" >"$initrd"
prepared=$(date +%s.%N)
printf '== guest prepared in %s s (%s, initramfs %d MiB)\n' "$(elapsed "$started" "$prepared")" \
    "$(basename "$kernel")" $(( $(stat -c %s "$initrd") / 1048576 ))

# ---- boot it
accel=(-accel tcg)
if [ "${TARVIK_SYSTEM_ACCEL:-tcg}" = kvm ] && [ -w /dev/kvm ]; then
    accel=(-accel kvm -accel tcg)
fi
selection=""
if [ -n "${TARVIK_SYSTEM_SCENARIOS:-}" ]; then
    selection="scenarios=$(echo $TARVIK_SYSTEM_SCENARIOS | tr ' ' ',')"
fi
# Wine needs more memory, and the host's /usr; SMAP is off because QEMU 7.2's TCG oopses the
# guest kernel with it at every wine process ("supervisor read access in user mode").
machine=(-m 768)
if [ $suite = wine ]; then
    machine=(-m 2048
        -virtfs local,path=/usr,mount_tag=usr,security_model=none,readonly=on,multidevs=remap)
fi
log="$work/$suite/guest.log"
status=0
timeout --kill-after=10 "${TARVIK_SYSTEM_TIMEOUT:-600}" \
    qemu-system-x86_64 "${accel[@]}" -cpu max,-smap "${machine[@]}" -nographic -nic none \
    -no-reboot -kernel "$kernel" -initrd "$initrd" \
    -append "console=ttyS0 quiet loglevel=3 panic=-1 rdinit=/init suite=$suite $selection" \
    </dev/null |
    sed -u 's/\r$//' | tee "$log" | grep --line-buffered -E '^(RESULT|SUITE|BOOT|  )' || status=$?
finished=$(date +%s.%N)
printf '== guest ran %s s\n' "$(elapsed "$prepared" "$finished")"
if grep -q '^SUITE PASSED' "$log"; then
    exit 0
fi
if ! grep -q '^SUITE' "$log"; then
    echo "== the guest did not finish; its console is in $log:" >&2
    tail -n 40 "$log" >&2
fi
exit 1
