// UhidDevice on the kernel's uhid interface: one event structure per read and per write.
#include "link/linux/uhid_device.h"

#include <fcntl.h>
#include <linux/uhid.h>
#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace tarvik {

namespace {

constexpr auto kFrame = std::chrono::milliseconds(1);
// The most missed frames sent at once after a late wake-up: well below the 64 reports the
// kernel's hidraw queue holds, so a reader that keeps up with the bus keeps up with this.
constexpr auto kCatchUp = 16 * kFrame;
constexpr std::uint16_t kBusUsb = 0x03; // BUS_USB of linux/input.h

// The first frame boundary after t.
std::chrono::steady_clock::time_point nextFrame(std::chrono::steady_clock::time_point t) {
    const auto frames = std::chrono::floor<std::chrono::milliseconds>(t.time_since_epoch());
    return std::chrono::steady_clock::time_point(frames + kFrame);
}

bool writeEvent(int fd, const uhid_event& event) {
    for (;;) {
        const auto written = ::write(fd, &event, sizeof event);
        if (written == static_cast<ssize_t>(sizeof event))
            return true;
        if (written < 0 && errno == EINTR)
            continue;
        return false;
    }
}

void copyText(std::uint8_t* target, std::size_t capacity, const std::string& text) {
    std::memcpy(target, text.data(), std::min(text.size(), capacity - 1));
}

} // namespace

std::vector<std::uint8_t> vendorReportDescriptor(std::size_t reportBytes) {
    if (reportBytes < 1 || reportBytes > 64)
        throw std::invalid_argument("report length out of range");
    const auto count = static_cast<std::uint8_t>(reportBytes);
    return {
        0x06, 0x00,  0xFF, // Usage Page (vendor defined 0xFF00)
        0x09, 0x01,        // Usage (1)
        0xA1, 0x01,        // Collection (application)
        0x15, 0x00,        //   Logical Minimum (0)
        0x26, 0xFF,  0x00, //   Logical Maximum (255)
        0x75, 0x08,        //   Report Size (8 bits)
        0x95, count,       //   Report Count
        0x09, 0x02,        //   Usage (2)
        0x81, 0x02,        //   Input (data, variable, absolute)
        0x95, count,       //   Report Count
        0x09, 0x03,        //   Usage (3)
        0x91, 0x02,        //   Output (data, variable, absolute)
        0xC0,              // End Collection
    };
}

UniqueFd UhidDevice::openNode(const std::string& path) {
    UniqueFd node(::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK));
    if (!node.valid())
        throw std::system_error(errno, std::generic_category(), path);
    return node;
}

UhidDevice::UhidDevice(UniqueFd node, VirtualDevice& device, const UhidSettings& settings,
                       EventLog log)
    : node_(std::move(node)), device_(device), settings_(settings), log_(std::move(log)) {
    const std::vector<std::uint8_t> descriptor = vendorReportDescriptor(settings_.reportBytes);
    uhid_event event{};
    event.type = UHID_CREATE2;
    uhid_create2_req& create = event.u.create2;
    copyText(create.name, sizeof create.name, settings_.name);
    copyText(create.phys, sizeof create.phys, "tarvik-cli/uhid");
    create.rd_size = static_cast<std::uint16_t>(descriptor.size());
    create.bus = kBusUsb;
    create.vendor = settings_.vendorId;
    create.product = settings_.productId;
    create.version = 0x0100;
    std::ranges::copy(descriptor, create.rd_data);
    if (!writeEvent(node_.get(), event))
        throw std::system_error(errno, std::generic_category(), "UHID_CREATE2");
    created_ = true;
    // Frames are timed by the bus, not by the host's timers: wake-ups must not be rounded late.
    if (settings_.reportInterval.count() > 0)
        ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    tell(UhidEvent::Created);
}

UhidDevice::~UhidDevice() {
    destroy();
}

void UhidDevice::stop() {
    stop_.signal();
}

void UhidDevice::tell(UhidEvent event) const {
    if (log_)
        log_(event);
}

void UhidDevice::destroy() {
    if (!created_)
        return;
    created_ = false;
    uhid_event event{};
    event.type = UHID_DESTROY;
    writeEvent(node_.get(), event);
    tell(UhidEvent::Unplugged);
}

bool UhidDevice::run() {
    for (;;) {
        timespec timeout{};
        const timespec* wait = nullptr;
        if (!pending_.empty()) {
            const auto left =
                std::max(pending_.front().due - Clock::now(), Clock::duration::zero());
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
            timeout = {static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
            wait = &timeout;
        }
        pollfd fds[2] = {{node_.get(), POLLIN, 0}, {stop_.fd(), POLLIN, 0}};
        if (::ppoll(fds, 2, wait, nullptr) < 0 && errno != EINTR)
            throw std::system_error(errno, std::generic_category(), "poll");
        if (fds[1].revents & POLLIN)
            return false;
        if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL))
            throw std::runtime_error("the uhid node failed");
        if ((fds[0].revents & POLLIN) && !handleEvent())
            throw std::system_error(errno, std::generic_category(), "uhid");
        sendDue(Clock::now());
        if (unplugAfterPending_ && pending_.empty()) {
            destroy();
            return true;
        }
    }
}

bool UhidDevice::handleEvent() {
    uhid_event event{};
    const auto got = ::read(node_.get(), &event, sizeof event);
    if (got < 0)
        return errno == EAGAIN || errno == EINTR;
    if (got < static_cast<ssize_t>(sizeof event.type))
        return true;
    switch (event.type) {
    case UHID_OPEN:
        tell(UhidEvent::Opened);
        break;
    case UHID_CLOSE:
        tell(UhidEvent::Closed);
        break;
    case UHID_OUTPUT: {
        if (unplugAfterPending_)
            break; // dropping off the bus: nothing more is carried out
        // The kernel passes the report as the client wrote it, report id first.
        const std::size_t size = std::min<std::size_t>(event.u.output.size, UHID_DATA_MAX);
        const DeviceReply reply =
            device_.onOutputReport(std::span<const std::uint8_t>(event.u.output.data, size));
        schedule(reply, Clock::now());
        break;
    }
    case UHID_GET_REPORT: {
        // The device has no feature reports.
        uhid_event answer{};
        answer.type = UHID_GET_REPORT_REPLY;
        answer.u.get_report_reply.id = event.u.get_report.id;
        answer.u.get_report_reply.err = EIO;
        writeEvent(node_.get(), answer);
        break;
    }
    case UHID_SET_REPORT: {
        uhid_event answer{};
        answer.type = UHID_SET_REPORT_REPLY;
        answer.u.set_report_reply.id = event.u.set_report.id;
        answer.u.set_report_reply.err = EIO;
        writeEvent(node_.get(), answer);
        break;
    }
    default:
        break; // UHID_START, UHID_STOP: nothing to do
    }
    return true;
}

void UhidDevice::schedule(const DeviceReply& reply, Clock::time_point now) {
    // The output report is taken at the next frame; each answer needs its interval of frames
    // and never overtakes the answers already on their way.
    const auto interval = settings_.reportInterval;
    Clock::time_point due = nextFrame(now);
    for (const InputReportBytes& report : reply.reports) {
        if (interval.count() > 0) {
            due += interval;
            if (!pending_.empty())
                due = std::max(due, pending_.back().due + interval);
        } else {
            due = now;
        }
        pending_.push_back({report, due});
    }
    if (reply.unplug)
        unplugAfterPending_ = true;
}

void UhidDevice::sendDue(Clock::time_point now) {
    if (pending_.empty())
        return;
    // The bus never falls behind, but this process may wake late: it catches up on the frames
    // it missed, at most kCatchUp of them at once, and lets the rest of the answers slip.
    const auto late = now - pending_.front().due;
    if (settings_.reportInterval.count() > 0 && late > kCatchUp) {
        for (Pending& pending : pending_)
            pending.due += late - kCatchUp;
    }
    while (!pending_.empty() && pending_.front().due <= now) {
        uhid_event event{};
        event.type = UHID_INPUT2;
        const std::size_t size =
            std::min(settings_.reportBytes, pending_.front().report.size() - 1);
        event.u.input2.size = static_cast<std::uint16_t>(size);
        // Without report ids the kernel takes the payload alone.
        std::copy_n(pending_.front().report.begin() + 1, size, event.u.input2.data);
        pending_.pop_front();
        if (!writeEvent(node_.get(), event))
            throw std::system_error(errno, std::generic_category(), "UHID_INPUT2");
    }
}

} // namespace tarvik
