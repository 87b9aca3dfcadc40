// Opening a hidraw node: hidapi's handle for writing, and a second, non-blocking descriptor on
// the node that the read thread polls together with its wake-up.
#pragma once

#include "link/linux/usb_backend.h"

namespace tarvik {

class HidapiOpener : public HidrawOpener {
public:
    HidapiOpener();
    ~HidapiOpener() override;
    HidapiOpener(const HidapiOpener&) = delete;
    HidapiOpener& operator=(const HidapiOpener&) = delete;

    std::unique_ptr<HidConnection> open(const std::string& devnode, bool numberedReports) override;
};

} // namespace tarvik
