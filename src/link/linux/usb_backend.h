// Real USB HID devices as the system lists them (hidraw nodes and their parent HID devices),
// behind two small seams: where the list and the plug events come from, and how a node is
// opened. The udev and hidapi pieces plug into these; tests feed their own.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "link/change_notifier.h"
#include "link/dispatcher.h"
#include "link/hid_backend.h"
#include "link/linux/udev_rule.h"

namespace tarvik {

// One hidraw node as found in the system, untouched.
struct HidrawNode {
    std::string devnode;                        // /dev/hidrawN, what is opened
    std::string hidSyspath;                     // the parent HID device: the identity
    std::string hidId;                          // its HID_ID property
    std::uint16_t version = 0;                  // bcdDevice of the USB device, when there is one
    std::vector<std::uint8_t> reportDescriptor; // its report descriptor
};

class HidrawSource {
public:
    virtual ~HidrawSource() = default;
    virtual std::vector<HidrawNode> list() = 0;
    // From now until destruction, calls onEvent (from any thread) whenever a hidraw node may
    // have come or gone. Called once.
    virtual void watch(std::function<void()> onEvent) = 0;
};

class HidrawOpener {
public:
    virtual ~HidrawOpener() = default;
    // Opens for reading and writing, else for queries only; nullptr when the node cannot be
    // opened at all. numberedReports: the device's reports carry report ids (otherwise the
    // connection puts report id 0 in front of what it reads).
    virtual std::unique_ptr<HidConnection> open(const std::string& devnode,
                                                bool numberedReports) = 0;
};

class UsbBackend : public HidBackend {
public:
    // ruleInstalled says whether the programmer's udev rule is in place; the advice for a node
    // that does not open for reading and writing depends on it.
    UsbBackend(Dispatcher& mainThread, std::unique_ptr<HidrawSource> source,
               std::unique_ptr<HidrawOpener> opener,
               std::function<bool()> ruleInstalled = programmerRuleInstalled);
    ~UsbBackend() override;

    // Nodes whose ids cannot be read are left out.
    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidConnection> open(const HidDeviceInfo& info) override;
    void watch(std::function<void()> onChange) override;
    std::vector<std::string> accessRemedy(std::uint8_t languageCode) const override;

private:
    ChangeNotifier notifier_;
    std::unique_ptr<HidrawOpener> opener_;
    std::function<bool()> ruleInstalled_;
    std::unique_ptr<HidrawSource> source_;        // stops its events before the notifier goes
    std::map<std::string, bool> numberedReports_; // by devnode, from the last enumeration
};

} // namespace tarvik
