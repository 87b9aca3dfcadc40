// The hidraw nodes that libudev knows, and a monitor thread that turns udev's hidraw events
// into change notices.
#pragma once

#include <thread>

#include "link/usb_backend.h"
#include "link/wake_event.h"

struct udev;

namespace tarvik {

class UdevHidrawSource : public HidrawSource {
public:
    UdevHidrawSource();
    ~UdevHidrawSource() override;
    UdevHidrawSource(const UdevHidrawSource&) = delete;
    UdevHidrawSource& operator=(const UdevHidrawSource&) = delete;

    std::vector<HidrawNode> list() override;
    void watch(std::function<void()> onEvent) override;

private:
    udev* udev_ = nullptr;
    WakeEvent stop_;
    std::thread monitor_;
};

} // namespace tarvik
