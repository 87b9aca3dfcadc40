#!/bin/sh
# The system suite guest's init: mounts, the modules, udevd, then the scenarios; their results
# go to the serial console, and the guest powers off when they are done. With suite=wine on the
# kernel's command line it also mounts the host's /usr (9p) in the wine root /wine, binds the
# guest's own file systems there and starts wine before the scenarios.
export PATH=/bin
mount -t devtmpfs devtmpfs /dev
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t tmpfs tmpfs /run
mount -t tmpfs tmpfs /tmp
chmod 1777 /tmp
for module in $(cat /etc/modules); do
    insmod /lib/modules/$module.ko || echo "BOOT cannot load $module"
done
if [ "$suite" = wine ]; then
    mkdir -p /dev/shm /dev/pts
    mount -t tmpfs tmpfs /dev/shm
    mount -t devpts devpts /dev/pts
    mount -t 9p -o trans=virtio,version=9p2000.L,ro,msize=512000,cache=loose usr /wine/usr ||
        echo "BOOT cannot mount the host's /usr"
    for dir in dev proc sys run tmp data; do
        mount -o rbind /$dir /wine/$dir
    done
fi
/lib/systemd/systemd-udevd --daemon --resolve-names=never 2>/dev/null || echo "BOOT no udevd"
udevadm settle --timeout=10
read -r uptime _ </proc/uptime
echo # after the firmware's screen codes
echo "BOOT guest up in $uptime s ($(uname -r))"
if [ "$suite" = wine ]; then
    # Wine's services (winebus.sys among them) start with its first program, and stay while a
    # persistent wineserver runs, as a real system's HID stack would.
    in-wine /usr/lib/wine/wineserver -p >/tmp/wineserver.out 2>&1
    in-wine /usr/lib/wine/wine64 /tarvik/tarvik-cli.exe list-devices </dev/null \
        >/tmp/wine-start.out 2>&1 ||
        echo "BOOT the first tarvik-cli.exe failed: $(cat /tmp/wine-start.out)"
    read -r ready _ </proc/uptime
    echo "BOOT wine up in $(awk -v a="$ready" -v b="$uptime" 'BEGIN { printf "%.1f", a - b }') s"
fi
guest_scenarios.sh
sync
poweroff -f
