// UsbBackend: turns the system's hidraw nodes into listed devices and plug events into
// change notices on the main thread.
#include "link/linux/usb_backend.h"

#include <utility>

#include "link/hid_report_descriptor.h"

namespace tarvik {

UsbBackend::UsbBackend(Dispatcher& mainThread, std::unique_ptr<HidrawSource> source,
                       std::unique_ptr<HidrawOpener> opener, std::function<bool()> ruleInstalled)
    : notifier_(mainThread), opener_(std::move(opener)), ruleInstalled_(std::move(ruleInstalled)),
      source_(std::move(source)) {
    source_->watch([this] { notifier_.notify(); });
}

UsbBackend::~UsbBackend() {
    notifier_.watch({});
}

std::vector<HidDeviceInfo> UsbBackend::enumerate() {
    std::vector<HidDeviceInfo> devices;
    numberedReports_.clear();
    for (const HidrawNode& node : source_->list()) {
        const auto ids = parseHidId(node.hidId);
        if (!ids || node.devnode.empty() || node.hidSyspath.empty())
            continue; // cannot be identified
        const ReportLengths lengths = parseReportDescriptor(node.reportDescriptor);
        HidDeviceInfo info;
        info.path = node.devnode;
        // The HID device's sysfs name ends in a sequence number the kernel counts up with
        // every device it adds, so a replug is a new identity even in the same port.
        info.identity = node.hidSyspath;
        info.vendorId = ids->vendorId;
        info.productId = ids->productId;
        info.version = node.version;
        info.inputReportLength = lengths.input;
        info.outputReportLength = lengths.output;
        numberedReports_[node.devnode] = lengths.numbered;
        devices.push_back(std::move(info));
    }
    return devices;
}

std::unique_ptr<HidConnection> UsbBackend::open(const HidDeviceInfo& info) {
    const auto numbered = numberedReports_.find(info.path);
    return opener_->open(info.path, numbered != numberedReports_.end() && numbered->second);
}

void UsbBackend::watch(std::function<void()> onChange) {
    notifier_.watch(std::move(onChange));
}

std::vector<std::string> UsbBackend::accessRemedy(std::uint8_t languageCode) const {
    return udevAccessRemedy(ruleInstalled_(), languageCode);
}

} // namespace tarvik
