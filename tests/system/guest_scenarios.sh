#!/bin/sh
# The system suite's scenarios, run as root inside the guest: serve-emulator --uhid makes the
# kernel HID devices (the programmer, or a foreign device), tarvik-cli and busy_read use them
# through hidraw and udev as they would use hardware. One RESULT line per scenario with its
# time, figure and failure lines indented below it, and a SUITE line at the end.
#
# With suite=wine (kernel command line) the client is tarvik-cli.exe under wine, which reaches
# the devices through wine's HID stack: by default four of the scenarios, with the bounds wine
# allows (a device shows in wine about 0.8 s after it appeared, a program takes seconds to
# start).
data=/data
disconnected="The programmer was disconnected before the job finished."
no_programmer="No programmer found."
no_access="Programmer connected, but this user may not open it!"

now() { read -r t _ </proc/uptime; echo "$t"; }
minus() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a - b }'; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }
hidraw_count() { ls /sys/class/hidraw 2>/dev/null | wc -l; }

client=tarvik-cli
job_bound=60   # seconds a client's run may take before it counts as hung
unplug_bound=2 # seconds from the unplug to the client's exit
plug_bound=1   # seconds from the plug to the waiting client's open (under wine: its end)
pace=""        # serve-emulator's pace: the hardware's, one report per 1 ms frame
if [ "${suite:-}" = wine ]; then
    client="in-wine /usr/lib/wine/wine64 /tarvik/tarvik-cli.exe"
    job_bound=240
    unplug_bound=3
    plug_bound=5
    # Wine in an emulated guest passes some 80 reports a second to its programs: a reply that
    # streams at the hardware's pace would overflow the buffers of hidraw and wine.
    pace="--latency 15ms"
    scenarios=${scenarios:-detect,write-read-ATmega128,unplug-mid-write,plug-while-waiting}
fi
# client_waiting PID: returns once the client started as PID waits for a programmer. Under
# wine that is a second after it loaded HID.dll (it enumerates right after), however long
# wine took to start it.
client_waiting() {
    if [ "${suite:-}" = wine ]; then
        while kill -0 "$1" 2>/dev/null && ! grep -q 'hid\.dll$' "/proc/$1/maps" 2>/dev/null; do
            sleep 0.1
        done
        sleep 1
    else
        sleep 2 # surely waiting by now, even in an emulated guest
    fi
}

fail() {
    echo "  FAIL: $*"
    failed=1
}
figure() { echo "  $*"; }

# serve NAME ARGS...: serve-emulator --uhid in the background, noting the kernel's events in
# /tmp/NAME.events; returns once the device's hidraw node is there and udev has handled it.
servers=""
serve() {
    local name=$1 before tries
    shift
    before=$(hidraw_count)
    rm -f "/tmp/$name.events"
    tarvik-cli serve-emulator --uhid -q $pace --events "/tmp/$name.events" "$@" >"/tmp/$name.out" 2>&1 &
    eval "pid_$name=$!"
    servers="$servers $name"
    tries=0
    while [ "$(hidraw_count)" -le "$before" ]; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ]; then
            fail "serve-emulator $* made no device: $(cat "/tmp/$name.out")"
            return 1
        fi
        sleep 0.1
    done
    udevadm settle --timeout=5
    # Under wine, winebus.sys opens every device it takes: until then wine's programs do not
    # see it (right after another device went, that took longer than a client's start).
    if [ "${suite:-}" = wine ]; then
        tries=0
        while ! grep -q '^opened' "/tmp/$name.events" && [ $tries -lt 100 ]; do
            tries=$((tries + 1))
            sleep 0.1
        done
    fi
}
# unplug NAME: interrupting serve-emulator destroys its device.
unplug() {
    eval "pid=\$pid_$1"
    kill -TERM "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    udevadm settle --timeout=5
}
unplug_all() {
    for name in $servers; do unplug "$name"; done
    servers=""
}
# event NAME EVENT: the time of the device's first such event, empty when there was none.
event() { awk -v e="$2" '$1 == e { print $2; exit }' "/tmp/$1.events"; }
opens() { grep -c '^opened' "/tmp/$1.events"; }

# cli ARGS...: the client as root, bounded; status in $rc, output in /tmp/cli.out.
cli() {
    timeout $job_bound $client "$@" </dev/null >/tmp/cli.raw 2>&1
    rc=$?
    take_output
}
# The client's output as lines (a Windows program ends them with CR LF).
take_output() { tr -d '\r' </tmp/cli.raw >/tmp/cli.out; }
expect_status() {
    [ "$rc" = "$1" ] || fail "exit status $rc, expected $1; output: $(tail -n 4 /tmp/cli.out | tr '\n' '|')"
}
expect_line() {
    grep -qxF "$1" /tmp/cli.out || fail "no line \"$1\"; output: $(tail -n 4 /tmp/cli.out | tr '\n' '|')"
}

# ---- the scenarios

detect() {
    serve p --chip ATmega8 || return
    cli detect
    expect_status 0
    expect_line "Chip: ATmega8"
    expect_line "Size: 8192 bytes"
}

# round_trip CHIP IMAGE [--device ENTRY]: write (verified), read back, byte-identical.
round_trip() {
    chip=$1
    image=$2
    shift 2
    serve p --chip "$chip" || return
    cli "$@" write "$data/$image"
    expect_status 0
    rm -f /tmp/back.bin
    cli "$@" read /tmp/back.bin
    expect_status 0
    cmp "$data/${image%.*}.bin" /tmp/back.bin >/dev/null || fail "the read-back image differs"
}

unplug_mid_write() {
    serve p --chip ATmega8 --unplug-after 60 || return
    cli write "$data/atmega8.hex"
    ended=$(now)
    expect_status 1
    grep -qF "$disconnected" /tmp/cli.out || fail "no line \"$disconnected\""
    wait "$pid_p" 2>/dev/null
    gone=$(event p unplugged)
    if [ -z "$gone" ]; then
        fail "the device never dropped off"
        return
    fi
    figure "unplug to exit: $(minus "$ended" "$gone") s"
    below "$(minus "$ended" "$gone")" $unplug_bound ||
        fail "the client took $unplug_bound s or more to end"
    serve p --chip ATmega8 || return
    cli write "$data/atmega8.hex"
    expect_status 0
}

plug_while_waiting() {
    $client --wait 20 detect </dev/null >/tmp/cli.raw 2>&1 &
    waiting=$!
    client_waiting $waiting
    serve p --chip ATmega8 || return
    wait $waiting
    rc=$?
    ended=$(now)
    take_output
    expect_status 0
    expect_line "Chip: ATmega8"
    created=$(event p created)
    found=$(event p opened)
    if [ "${suite:-}" = wine ]; then
        # There the device's only opener is winebus.sys, as soon as it appears.
        figure "plug to the end of detect: $(minus "$ended" "$created") s"
        below "$(minus "$ended" "$created")" $plug_bound ||
            fail "detect ended $plug_bound s or more after the plug"
        return
    fi
    if [ -z "$found" ]; then
        fail "the programmer was never opened"
        return
    fi
    figure "plug to found: $(minus "$found" "$created") s"
    below "$(minus "$found" "$created")" $plug_bound ||
        fail "found $plug_bound s or more after the plug"
}

two_programmers() {
    serve a --chip ATmega8 || return
    serve b --chip ATmega128 || return
    cli detect
    expect_status 0
    expect_line "Chip: ATmega8"
    [ "$(opens b)" = 0 ] || fail "the second programmer was opened while the first was there"
    unplug a
    cli detect
    expect_status 0
    expect_line "Chip: ATmega128"
}

# A production line: three programmers at once with serial numbers and a production log; the
# third drops off the bus in the middle of its write. The others finish, only they use up a
# number, and the summary, the log and the exit status say which programmer did what.
three_programmers() {
    serve a --chip ATmega8 || return
    serve b --chip ATmega8 || return
    serve c --chip ATmega8 --unplug-after 60 || return
    rm -f /tmp/serial.txt /tmp/production.csv
    cli --programmer all --serial 0x10=500,bytes=2,format=be --serial-file /tmp/serial.txt \
        --log-csv /tmp/production.csv write "$data/atmega8.hex"
    expect_status 1
    [ "$(grep -cE '^[123] +/dev/hidraw[0-9]+ +ATmega8 +OK ' /tmp/cli.out)" = 2 ] ||
        fail "not two programmers OK in the summary: $(tail -n 4 /tmp/cli.out | tr '\n' '|')"
    [ "$(grep -cE '^[123] +/dev/hidraw[0-9]+ .*FAILED' /tmp/cli.out)" = 1 ] ||
        fail "not one programmer FAILED in the summary"
    [ "$(cat /tmp/serial.txt)" = 502 ] || fail "the serial file holds $(cat /tmp/serial.txt)"
    [ "$(wc -l </tmp/production.csv)" = 4 ] || fail "the production log has not 4 lines"
    [ "$(grep -c ',OK,' /tmp/production.csv)" = 2 ] || fail "not two OK rows in the log"
}

busy_main_thread() {
    serve p --chip ATmega128 || return
    cli --no-verify write "$data/atmega128.bin"
    expect_status 0
    timeout 90 busy_read "$data/atmega128.bin" >/tmp/busy.out 2>&1
    rc=$?
    figure "$(cat /tmp/busy.out)"
    [ "$rc" = 0 ] || fail "busy_read exit status $rc"
}

programmer_node() {
    for entry in /sys/class/hidraw/*; do
        grep -q '^HID_ID=0003:00000451:00003210$' "$entry/device/uevent" && echo "/dev/${entry##*/}"
    done | head -n 1
}

no_access() {
    serve p --chip ATmega8 || return
    node=$(programmer_node)
    chmod 000 "$node"
    started=$(now)
    timeout 60 su tester -c "tarvik-cli detect" >/tmp/cli.out 2>&1
    rc=$?
    ended=$(now)
    expect_status 3
    grep -qF "$no_access" /tmp/cli.out || fail "no line \"$no_access\"; output: $(tail -n 4 /tmp/cli.out | tr '\n' '|')"
    grep -qF "This user may not open $node (the programmer) for reading and writing." /tmp/cli.out ||
        fail "the node $node is not named"
    grep -qF "sudo install -m 644 packaging/60-tarvik-programmer.rules /etc/udev/rules.d/" /tmp/cli.out ||
        fail "the udev rule's installation is not shown"
    [ "$(opens p)" = 0 ] || fail "the node was opened although its mode is 000"
    figure "no access reported in $(minus "$ended" "$started") s"
    below "$(minus "$ended" "$started")" 2 || fail "took 2 s or more"
}

foreign_device() {
    serve f --vendor 046d --product c52b || return
    cli detect
    expect_status 3
    expect_line "$no_programmer"
    serve p --chip ATmega8 || return
    cli detect
    expect_status 0
    expect_line "Chip: ATmega8"
    [ "$(opens f)" = 0 ] || fail "the foreign device 046d:c52b was opened"
}

short_reports() {
    serve w --chip ATmega8 --report-bytes 32 || return
    node=$(programmer_node)
    cli --timeout 5 detect
    expect_status 3
    expect_line "$no_programmer"
    expect_line "$node has the ids 0451:3210 but input reports of 33 and output reports of 33 bytes instead of 65: not used."
    [ "$(opens w)" = 0 ] || fail "a programmer with 33-byte reports was opened"
}

# ---- running them

passed=0
total=0
suite_started=$(now)
run() {
    scenario=$1
    shift
    # The kernel's command line may name the scenarios to run (scenarios=a,b).
    case ",${scenarios:-$scenario}," in
    *",$scenario,"*) ;;
    *) return ;;
    esac
    failed=0
    total=$((total + 1))
    started=$(now)
    "$@"
    unplug_all
    took=$(minus "$(now)" "$started")
    if [ "$failed" = 0 ]; then
        passed=$((passed + 1))
        echo "RESULT PASS $scenario ($took s)"
    else
        echo "RESULT FAIL $scenario ($took s)"
    fi
}

run detect detect
run write-read-ATmega8 round_trip ATmega8 atmega8.hex
run write-read-ATmega128 round_trip ATmega128 atmega128.hex
run write-read-24AA512 round_trip 24AA512 24aa512.bin --device 24AA512
run unplug-mid-write unplug_mid_write
run plug-while-waiting plug_while_waiting
run two-programmers two_programmers
run three-programmers three_programmers
run busy-main-thread busy_main_thread
run no-access no_access
run foreign-device foreign_device
run short-reports short_reports

took=$(minus "$(now)" "$suite_started")
if [ "$passed" = "$total" ]; then
    echo "SUITE PASSED $total scenarios in $took s"
else
    echo "SUITE FAILED $((total - passed)) of $total scenarios in $took s"
fi
