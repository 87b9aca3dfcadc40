// THidDeviceController and THidDevice: find HID devices, follow plugging and unplugging,
// open a device only when the client takes it, write output reports and deliver each input
// report, whole and in order, to the main thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "link/change_notifier.h"
#include "link/dispatcher.h"
#include "link/hid_backend.h"

namespace tarvik {

class EControllerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class THidDevice;
class THidDeviceReadThread;

// OnDeviceData: HidDev, ReportID (the report's first byte), Data (the bytes after it), Size.
using THidDataEvent = std::function<void(THidDevice* HidDev, std::uint8_t ReportID,
                                         const std::uint8_t* Data, std::uint16_t Size)>;

struct THidCaps {
    std::uint16_t InputReportByteLength = 0;
    std::uint16_t OutputReportByteLength = 0;
};

class THidDevice {
    class ConstructionKey {
        ConstructionKey() = default;
        friend class THidDeviceController;
    };

public:
    // Made only by the controller, from an enumerated device; opened when it is taken.
    THidDevice(ConstructionKey, HidDeviceInfo info);
    ~THidDevice();
    THidDevice(const THidDevice&) = delete;
    THidDevice& operator=(const THidDevice&) = delete;

    // One synchronous write of the whole output report, report id first. False when the
    // device is unplugged, not open for reading and writing, or the report is not its output
    // length. A write that the device refuses also asks the controller for a rescan.
    bool Write(std::span<const std::uint8_t> report);
    const THidCaps& Caps() const { return caps_; }

    const HidDeviceInfo& Info() const { return info_; }
    bool IsPluggedIn() const { return pluggedIn_; }
    bool IsCheckedOut() const { return checkedOut_; }
    // Open for reading and writing: taken by the client and opened.
    bool HasReadWriteAccess() const { return readWrite_; }
    // The last attempt to take the device could open it for queries only: this user may not
    // read or write it. Cleared once a rescan finds it open to reading and writing.
    bool AccessDenied() const { return accessDenied_; }
    int ReadThreadSleep() const { return readThreadSleep_; }

private:
    friend class THidDeviceController;
    friend class THidDeviceReadThread;

    // Starts the read thread when the device has a data handler, is plugged in, checked out,
    // open for reading and writing, and is not being read yet.
    void startReading(Dispatcher& mainThread);
    // Tells the read thread to stop and waits for it; a pending hand-off is abandoned.
    void stopReading();
    // Stops reading and closes the connection: the device is gone.
    void close();
    // The device is gone: stops reading and hands what it sent before to the data handler,
    // which may release the device.
    void deliverLastReports();

    HidDeviceInfo info_;
    THidCaps caps_;
    std::unique_ptr<HidConnection> connection_;
    bool pluggedIn_ = true;
    bool checkedOut_ = false;
    bool readWrite_ = false;
    bool accessDenied_ = false;
    int readThreadSleep_ = 100;
    THidDataEvent onData_;
    std::function<void()> requestRescan_; // any thread: a rescan soon, on the main thread
    std::unique_ptr<THidDeviceReadThread> readThread_;
};

class THidDeviceController {
public:
    // Raises EControllerError "Only one THidDeviceController allowed per program" when one
    // already exists. Enumerates at once and starts watching the backend for changes.
    THidDeviceController(HidBackend& backend, Dispatcher& mainThread);
    ~THidDeviceController();
    THidDeviceController(const THidDeviceController&) = delete;
    THidDeviceController& operator=(const THidDeviceController&) = delete;

    // Attaching the change handler rescans at once and fires it.
    void SetOnDeviceChange(std::function<void()> handler);
    // Attaching the data handler starts reading every checked-out device.
    void SetOnDeviceData(THidDataEvent handler);

    // Checks out the first listed device with these ids that is not checked out yet
    // (productId -1 matches any), that accept takes when given, and that opens for reading
    // and writing, and starts reading it. Only the devices looked at in this order are
    // opened. One that opens for queries only is marked AccessDenied and passed over; one that
    // cannot be opened at all is passed over.
    bool AcquireDevice(int vendorId, int productId, THidDevice*& device,
                       const std::function<bool(const THidDevice&)>& accept = {});
    // Stops reading, closes the device and drops it from the list.
    void ReleaseDevice(THidDevice* device);
    // Also looks again at devices marked AccessDenied: one that now opens for reading and
    // writing counts as a change.
    void RescanDevices();

    const std::vector<std::unique_ptr<THidDevice>>& DeviceList() const { return devices_; }
    // The main thread's dispatcher, for work the main thread does later.
    Dispatcher& mainThread() const { return mainThread_; }
    // The programmer the backend found and would not offer (see
    // HidBackend::refusedProgrammer), as of the last rescan; a new one counts as a change.
    const std::optional<RefusedProgrammer>& LastRefusedProgrammer() const { return refused_; }
    // The backend's advice for a programmer marked AccessDenied, in the given language.
    std::vector<std::string> AccessRemedy(std::uint8_t languageCode) const {
        return backend_.accessRemedy(languageCode);
    }

private:
    std::unique_ptr<THidDevice> makeDevice(const HidDeviceInfo& info);
    // Whether the device opens for reading and writing now; the probe is closed at once.
    bool opensForReadWrite(const THidDevice& device);
    // Delivers what the listed devices that are no longer present sent before they went.
    void deliverLastReports(const std::vector<HidDeviceInfo>& present);

    HidBackend& backend_;
    Dispatcher& mainThread_;
    // Rescans asked for by devices whose writes or reads failed.
    ChangeNotifier rescanRequests_;
    std::vector<std::unique_ptr<THidDevice>> devices_;
    std::function<void()> onChange_;
    THidDataEvent onData_;
    bool changeFired_ = false;
    std::optional<RefusedProgrammer> refused_;
};

} // namespace tarvik
