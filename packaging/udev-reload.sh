#!/bin/sh
# The Debian package's postinst and postrm: lets udev apply the programmer's rule as soon as it
# is installed, so a programmer that is already plugged in can be opened without replugging,
# and forget it once it is removed. Does nothing where udev does not run (chroots, containers).
set -e

case "$1" in
configure | remove)
    if [ -S /run/udev/control ] && command -v udevadm >/dev/null 2>&1; then
        udevadm control --reload-rules || true
        udevadm trigger --subsystem-match=hidraw --action=change || true
    fi
    ;;
esac

exit 0
