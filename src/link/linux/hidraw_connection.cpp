// A hidraw connection: writes through hidapi, reads by polling the node and a wake-up event.
#include "link/linux/hidraw_connection.h"

#include <fcntl.h>
#include <hidapi/hidapi.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "link/posix/unique_fd.h"
#include "link/posix/wake_event.h"

namespace tarvik {

namespace {

struct HidClose {
    void operator()(hid_device* d) const { hid_close(d); }
};
using HidHandle = std::unique_ptr<hid_device, HidClose>;

class HidrawConnection : public HidConnection {
public:
    HidrawConnection(HidHandle writer, UniqueFd reader, bool numberedReports)
        : writer_(std::move(writer)), reader_(std::move(reader)), numbered_(numberedReports) {}

    bool readWriteAccess() const override { return writer_ && reader_.valid(); }

    bool write(std::span<const std::uint8_t> report) override {
        if (!writer_ || report.empty())
            return false;
        return hid_write(writer_.get(), report.data(), report.size()) ==
               static_cast<int>(report.size());
    }

    int read(std::span<std::uint8_t> report, int timeoutMs) override {
        if (!reader_.valid() || report.size() < 2)
            return -1;
        pollfd fds[2] = {{reader_.get(), POLLIN, 0}, {wake_.fd(), POLLIN, 0}};
        const int ready = ::poll(fds, 2, timeoutMs);
        if (ready < 0)
            return errno == EINTR ? 0 : -1;
        if (fds[1].revents & POLLIN) {
            wake_.clear();
            return 0;
        }
        if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL))
            return -1; // the node is gone
        if (!(fds[0].revents & POLLIN))
            return 0;
        // hidraw hands over reports without a report id as they are: put id 0 in front, so
        // every report reaches the client report id first.
        const auto target = numbered_ ? report : report.subspan(1);
        const auto count = ::read(reader_.get(), target.data(), target.size());
        if (count < 0)
            return (errno == EAGAIN || errno == EINTR) ? 0 : -1;
        if (numbered_ || count == 0)
            return static_cast<int>(count);
        report[0] = 0;
        return static_cast<int>(count) + 1;
    }

    void wakeUp() override { wake_.signal(); }

private:
    HidHandle writer_;
    UniqueFd reader_;
    bool numbered_;
    WakeEvent wake_;
};

} // namespace

HidapiOpener::HidapiOpener() {
    hid_init();
}

HidapiOpener::~HidapiOpener() {
    hid_exit();
}

std::unique_ptr<HidConnection> HidapiOpener::open(const std::string& devnode,
                                                  bool numberedReports) {
    HidHandle writer(hid_open_path(devnode.c_str()));
    UniqueFd reader(::open(devnode.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!writer && !reader.valid() && ::access(devnode.c_str(), F_OK) != 0)
        return nullptr; // the node is not there at all
    // Without both handles the device is kept for queries only.
    if (!writer || !reader.valid()) {
        writer.reset();
        reader.reset();
    }
    return std::make_unique<HidrawConnection>(std::move(writer), std::move(reader),
                                              numberedReports);
}

} // namespace tarvik
