// THidDeviceController: enumeration, reconciliation on every change notice, opening and
// handing devices out to the client and attaching its handlers.
#include "link/hid_device_controller.h"

#include <algorithm>
#include <mutex>
#include <utility>

namespace tarvik {

namespace {

std::mutex instanceMutex;
bool instanceExists = false;

} // namespace

THidDeviceController::THidDeviceController(HidBackend& backend, Dispatcher& mainThread)
    : backend_(backend), mainThread_(mainThread), rescanRequests_(mainThread) {
    {
        std::lock_guard lock(instanceMutex);
        if (instanceExists)
            throw EControllerError("Only one THidDeviceController allowed per program");
        instanceExists = true;
    }
    for (const HidDeviceInfo& info : backend_.enumerate())
        devices_.push_back(makeDevice(info));
    rescanRequests_.watch([this] { RescanDevices(); });
    backend_.watch([this] { RescanDevices(); });
}

THidDeviceController::~THidDeviceController() {
    backend_.watch({});
    devices_.clear(); // each device stops its reader and closes
    rescanRequests_.watch({});
    std::lock_guard lock(instanceMutex);
    instanceExists = false;
}

std::unique_ptr<THidDevice> THidDeviceController::makeDevice(const HidDeviceInfo& info) {
    auto device = std::make_unique<THidDevice>(THidDevice::ConstructionKey{}, info);
    device->onData_ = onData_;
    device->requestRescan_ = [requests = &rescanRequests_] { requests->notify(); };
    return device;
}

bool THidDeviceController::opensForReadWrite(const THidDevice& device) {
    const auto probe = backend_.open(device.info_);
    return probe && probe->readWriteAccess();
}

void THidDeviceController::SetOnDeviceChange(std::function<void()> handler) {
    onChange_ = std::move(handler);
    if (!onChange_)
        return;
    changeFired_ = false; // a new handler learns the current state at once
    RescanDevices();
}

void THidDeviceController::SetOnDeviceData(THidDataEvent handler) {
    onData_ = std::move(handler);
    for (auto& device : devices_) {
        device->onData_ = onData_;
        if (onData_)
            device->startReading(mainThread_);
        else
            device->stopReading();
    }
}

bool THidDeviceController::AcquireDevice(int vendorId, int productId, THidDevice*& device,
                                         const std::function<bool(const THidDevice&)>& accept) {
    device = nullptr;
    for (auto& candidate : devices_) {
        const HidDeviceInfo& info = candidate->Info();
        if (info.vendorId != vendorId || (productId != -1 && info.productId != productId) ||
            candidate->checkedOut_ || !candidate->pluggedIn_ || (accept && !accept(*candidate)))
            continue;
        auto connection = backend_.open(info);
        if (!connection)
            continue; // gone already, or broken: the next rescan tells
        if (!connection->readWriteAccess()) {
            candidate->accessDenied_ = true;
            continue;
        }
        candidate->connection_ = std::move(connection);
        candidate->readWrite_ = true;
        candidate->accessDenied_ = false;
        candidate->checkedOut_ = true;
        candidate->startReading(mainThread_);
        device = candidate.get();
        return true;
    }
    return false;
}

void THidDeviceController::ReleaseDevice(THidDevice* device) {
    const auto it = std::find_if(devices_.begin(), devices_.end(),
                                 [device](const auto& listed) { return listed.get() == device; });
    if (it == devices_.end())
        return;
    // Take it out of the list first: the handlers it may trigger while closing see a
    // consistent list.
    std::unique_ptr<THidDevice> released = std::move(*it);
    devices_.erase(it);
    released->close();
}

namespace {

bool isPresent(const std::vector<HidDeviceInfo>& present, const std::string& identity) {
    return std::any_of(present.begin(), present.end(), [&identity](const HidDeviceInfo& info) {
        return info.identity == identity;
    });
}

} // namespace

void THidDeviceController::deliverLastReports(const std::vector<HidDeviceInfo>& present) {
    std::vector<THidDevice*> gone;
    for (const auto& device : devices_)
        if (device->pluggedIn_ && device->readThread_ &&
            !isPresent(present, device->info_.identity))
            gone.push_back(device.get());
    for (THidDevice* device : gone) {
        // An earlier handler may have released it.
        const bool listed = std::any_of(devices_.begin(), devices_.end(),
                                        [device](const auto& d) { return d.get() == device; });
        if (listed)
            device->deliverLastReports();
    }
}

void THidDeviceController::RescanDevices() {
    std::vector<HidDeviceInfo> present = backend_.enumerate();
    // The reports a device sent before it went away may still wait for their delivery task,
    // queued behind this rescan: they reach the handler before the device is closed. The
    // handler may change the list, so it is walked afterwards.
    deliverLastReports(present);
    const auto isPresent = [&present](const std::string& identity) {
        return tarvik::isPresent(present, identity);
    };

    bool changed = false;
    for (auto i = devices_.size(); i-- > 0;) {
        THidDevice& device = *devices_[i];
        if (device.pluggedIn_ && isPresent(device.info_.identity)) {
            // Access granted meanwhile (a udev rule applied): the client may take it now.
            if (device.accessDenied_ && opensForReadWrite(device)) {
                device.accessDenied_ = false;
                changed = true;
            }
            continue;
        }
        if (device.pluggedIn_) {
            device.close();
            changed = true;
        }
        // A checked-out device stays, marked unplugged, until its holder releases it.
        if (!device.checkedOut_) {
            devices_.erase(devices_.begin() + static_cast<std::ptrdiff_t>(i));
            changed = true;
        }
    }

    for (const HidDeviceInfo& info : present) {
        const bool listed = std::any_of(devices_.begin(), devices_.end(), [&info](const auto& d) {
            return d->pluggedIn_ && d->info_.identity == info.identity;
        });
        if (listed)
            continue;
        devices_.push_back(makeDevice(info));
        changed = true;
    }

    if (auto refused = backend_.refusedProgrammer(); refused != refused_) {
        refused_ = std::move(refused);
        changed = true;
    }

    if ((changed || !changeFired_) && onChange_) {
        changeFired_ = true;
        const auto handler = onChange_; // the handler may replace itself
        handler();
    }
}

} // namespace tarvik
