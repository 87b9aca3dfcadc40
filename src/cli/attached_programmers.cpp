// Listing the attached programmers and narrowing the bus to one of them.
#include "cli/attached_programmers.h"

#include <algorithm>
#include <utility>

#include "protocol/codes.h"

namespace tarvik::cli {

namespace {

class OnlyAtBackend : public HidBackend {
public:
    OnlyAtBackend(std::unique_ptr<HidBackend> inner, std::string path)
        : inner_(std::move(inner)), path_(std::move(path)) {}

    std::vector<HidDeviceInfo> enumerate() override {
        std::vector<HidDeviceInfo> devices = inner_->enumerate();
        std::erase_if(devices,
                      [this](const HidDeviceInfo& device) { return !isAt(device, path_); });
        return devices;
    }
    std::unique_ptr<HidConnection> open(const HidDeviceInfo& info) override {
        return isAt(info, path_) ? inner_->open(info) : nullptr;
    }
    void watch(std::function<void()> onChange) override { inner_->watch(std::move(onChange)); }

private:
    std::unique_ptr<HidBackend> inner_;
    std::string path_;
};

} // namespace

std::vector<HidDeviceInfo> attachedProgrammers(HidBackend& backend) {
    std::vector<HidDeviceInfo> devices = backend.enumerate();
    std::erase_if(devices, [](const HidDeviceInfo& device) {
        return device.vendorId != kProgrammerVendorId || device.productId != kProgrammerProductId;
    });
    return devices;
}

bool isAt(const HidDeviceInfo& device, const std::string& path) {
    return device.path == path || device.identity == path;
}

std::unique_ptr<HidBackend> onlyAt(std::unique_ptr<HidBackend> inner, std::string path) {
    return std::make_unique<OnlyAtBackend>(std::move(inner), std::move(path));
}

} // namespace tarvik::cli
