// A virtual device in front of another that counts the reports crossing the bus each way, so
// a benchmark can tell the time the bus's frames alone would take.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <utility>

#include "protocol/virtual_device.h"

namespace tarvik {

class CountingDevice : public VirtualDevice {
public:
    explicit CountingDevice(std::shared_ptr<VirtualDevice> inner) : inner_(std::move(inner)) {}
    DeviceReply onOutputReport(std::span<const std::uint8_t> report) override {
        DeviceReply reply = inner_->onOutputReport(report);
        ++out;
        in += reply.reports.size();
        return reply;
    }
    std::size_t out = 0;
    std::size_t in = 0;

private:
    std::shared_ptr<VirtualDevice> inner_;
};

} // namespace tarvik
