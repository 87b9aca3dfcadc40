#!/bin/sh
# Runs a program in the guest's wine root (/wine: the host's /usr, the guest's /dev, /proc,
# /sys, /run, /tmp and /data bound in, so paths mean the same inside) with wine's environment:
# the prefix /prefix, no debug channels. Installed as /bin/in-wine, for instance
#   in-wine /usr/lib/wine/wine64 /tarvik/tarvik-cli.exe detect
exec chroot /wine /usr/bin/env -i PATH=/usr/bin HOME=/tmp WINEPREFIX=/prefix WINEDEBUG=-all "$@"
