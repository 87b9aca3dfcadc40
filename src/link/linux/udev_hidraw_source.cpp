// UdevHidrawSource on libudev: enumeration of the hidraw subsystem with each node's parent HID
// device, and a monitor on udev's netlink source.
#include "link/linux/udev_hidraw_source.h"

#include <libudev.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace tarvik {

namespace {

// Report descriptors are at most this long (the kernel's HID_MAX_DESCRIPTOR_SIZE).
constexpr std::size_t kMaxDescriptor = 4096;

struct UdevDeviceUnref {
    void operator()(udev_device* d) const { udev_device_unref(d); }
};
struct UdevEnumerateUnref {
    void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
};
struct UdevUnref {
    void operator()(udev* u) const { udev_unref(u); }
};
struct UdevMonitorUnref {
    void operator()(udev_monitor* m) const { udev_monitor_unref(m); }
};
using UdevDevice = std::unique_ptr<udev_device, UdevDeviceUnref>;

std::string text(const char* value) {
    return value ? value : "";
}

std::vector<std::uint8_t> readDescriptor(const std::string& hidSyspath) {
    std::ifstream file(hidSyspath + "/report_descriptor", std::ios::binary);
    std::vector<std::uint8_t> bytes(kMaxDescriptor);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

std::uint16_t bcdDevice(udev_device* hidraw) {
    // Not owned: a parent lives as long as its child.
    udev_device* usb = udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_device");
    const std::string value = usb ? text(udev_device_get_sysattr_value(usb, "bcdDevice")) : "";
    const unsigned long parsed = std::strtoul(value.c_str(), nullptr, 16);
    return parsed <= 0xFFFF ? static_cast<std::uint16_t>(parsed) : 0;
}

// udev's netlink monitor of hidraw events. libudev objects are not shared between threads: the
// monitor has a context of its own.
class UdevMonitor : public EventSource {
public:
    static std::unique_ptr<EventSource> open() {
        std::unique_ptr<udev, UdevUnref> context(udev_new());
        if (!context)
            return nullptr;
        std::unique_ptr<udev_monitor, UdevMonitorUnref> monitor(
            udev_monitor_new_from_netlink(context.get(), "udev"));
        if (!monitor ||
            udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "hidraw", nullptr) < 0 ||
            udev_monitor_enable_receiving(monitor.get()) < 0)
            return nullptr;
        return std::make_unique<UdevMonitor>(std::move(context), std::move(monitor));
    }

    UdevMonitor(std::unique_ptr<udev, UdevUnref> context,
                std::unique_ptr<udev_monitor, UdevMonitorUnref> monitor)
        : context_(std::move(context)), monitor_(std::move(monitor)) {}

    int fd() const override { return udev_monitor_get_fd(monitor_.get()); }

    bool receive() override {
        UdevDevice device(udev_monitor_receive_device(monitor_.get()));
        // No device: a message of no interest, or events lost to a full socket buffer.
        return device || errno == ENOBUFS;
    }

private:
    std::unique_ptr<udev, UdevUnref> context_;
    std::unique_ptr<udev_monitor, UdevMonitorUnref> monitor_; // released before its context
};

} // namespace

UdevHidrawSource::UdevHidrawSource() : udev_(udev_new()) {}

UdevHidrawSource::~UdevHidrawSource() {
    monitor_.reset();
    if (udev_)
        udev_unref(udev_);
}

std::vector<HidrawNode> UdevHidrawSource::list() {
    std::vector<HidrawNode> nodes;
    if (!udev_)
        return nodes;
    std::unique_ptr<udev_enumerate, UdevEnumerateUnref> enumerate(udev_enumerate_new(udev_));
    if (!enumerate || udev_enumerate_add_match_subsystem(enumerate.get(), "hidraw") < 0 ||
        udev_enumerate_scan_devices(enumerate.get()) < 0)
        return nodes;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get())) {
        UdevDevice hidraw(udev_device_new_from_syspath(udev_, udev_list_entry_get_name(entry)));
        if (!hidraw)
            continue;
        udev_device* hid =
            udev_device_get_parent_with_subsystem_devtype(hidraw.get(), "hid", nullptr);
        if (!hid)
            continue;
        HidrawNode node;
        node.devnode = text(udev_device_get_devnode(hidraw.get()));
        node.hidSyspath = text(udev_device_get_syspath(hid));
        node.hidId = text(udev_device_get_property_value(hid, "HID_ID"));
        node.version = bcdDevice(hidraw.get());
        node.reportDescriptor = readDescriptor(node.hidSyspath);
        nodes.push_back(std::move(node));
    }
    return nodes;
}

void UdevHidrawSource::watch(std::function<void()> onEvent) {
    if (!monitor_)
        monitor_ = std::make_unique<EventWatch>(UdevMonitor::open, std::move(onEvent));
}

} // namespace tarvik
