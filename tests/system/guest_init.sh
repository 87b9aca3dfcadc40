#!/bin/sh
# The system suite guest's init: mounts, the HID modules, udevd, then the scenarios; their
# results go to the serial console, and the guest powers off when they are done.
export PATH=/bin
mount -t devtmpfs devtmpfs /dev
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t tmpfs tmpfs /run
mount -t tmpfs tmpfs /tmp
chmod 1777 /tmp
for module in hid uhid hid-generic; do
    insmod /lib/modules/$module.ko || echo "BOOT cannot load $module"
done
/lib/systemd/systemd-udevd --daemon --resolve-names=never 2>/dev/null || echo "BOOT no udevd"
udevadm settle --timeout=10
read -r uptime _ </proc/uptime
echo # after the firmware's screen codes
echo "BOOT guest up in $uptime s ($(uname -r))"
guest_scenarios.sh
sync
poweroff -f
