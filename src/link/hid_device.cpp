// THidDevice: one listed HID device, its connection and its read thread.
#include "link/hid_device_controller.h"
#include "link/hid_device_read_thread.h"

#include <utility>

namespace tarvik {

THidDevice::THidDevice(ConstructionKey, HidDeviceInfo info) : info_(std::move(info)) {
    caps_.InputReportByteLength = info_.inputReportLength;
    caps_.OutputReportByteLength = info_.outputReportLength;
}

THidDevice::~THidDevice() {
    close();
}

bool THidDevice::Write(std::span<const std::uint8_t> report) {
    if (!pluggedIn_ || !readWrite_ || !connection_ || report.empty())
        return false;
    // A report is written whole or not at all: the device expects exactly its output length.
    if (caps_.OutputReportByteLength != 0 && report.size() != caps_.OutputReportByteLength)
        return false;
    if (connection_->write(report))
        return true;
    // Often the first sign of an unplug: the rescan tells.
    if (requestRescan_)
        requestRescan_();
    return false;
}

void THidDevice::startReading(Dispatcher& mainThread) {
    if (!onData_ || !pluggedIn_ || !checkedOut_ || !readWrite_ || readThread_ || !connection_ ||
        caps_.InputReportByteLength == 0)
        return;
    readThread_ =
        std::make_unique<THidDeviceReadThread>(*this, *connection_, mainThread, requestRescan_);
}

void THidDevice::stopReading() {
    readThread_.reset();
}

void THidDevice::deliverLastReports() {
    if (readThread_)
        readThread_->deliverQueued();
}

void THidDevice::close() {
    stopReading();
    connection_.reset();
    pluggedIn_ = false;
}

} // namespace tarvik
