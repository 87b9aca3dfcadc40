// The hidraw nodes that libudev knows, and a monitor thread that turns udev's hidraw events
// into change notices (and reopens udev's monitor when it fails).
#pragma once

#include <memory>

#include "link/linux/usb_backend.h"
#include "link/posix/event_watch.h"

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
    std::unique_ptr<EventWatch> monitor_;
};

} // namespace tarvik
