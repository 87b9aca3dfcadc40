// tarvik-hid-probe: looks at the Windows HID link on a machine or guest with a real (or
// kernel-level virtual) programmer, without the rest of the client.
//   list            every HID interface as the backend sees it: path, identity, ids, lengths
//   watch SECONDS   every device-change notice the window hears, with the devices after it
//   roundtrip N     N signature requests to the programmer, each waiting for its answer
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "link/windows/device_change_window.h"
#include "link/windows/hid_interfaces.h"
#include "link/windows/wide_text.h"
#include "link/windows/windows_hid_backend.h"
#include "protocol/codes.h"

namespace tarvik {
namespace {

using Clock = std::chrono::steady_clock;

constexpr UsbIds kProgrammer{kProgrammerVendorId, kProgrammerProductId};

WindowsHidBackend makeBackend(PlainDispatcher& dispatcher) {
    return WindowsHidBackend(dispatcher, std::make_unique<BoundHidSystem>(), nullptr, kProgrammer);
}

void printDevices(WindowsHidBackend& backend) {
    if (const auto refused = backend.refusedProgrammer())
        std::printf("%s\n", refused->reason[1].c_str());
    for (const HidDeviceInfo& info : backend.enumerate())
        std::printf("%04x:%04x v%04x in %u out %u  %s  [%s]\n", info.vendorId, info.productId,
                    info.version, info.inputReportLength, info.outputReportLength,
                    info.path.c_str(), info.identity.c_str());
}

int list() {
    PlainDispatcher dispatcher;
    auto backend = makeBackend(dispatcher);
    printDevices(backend);
    return 0;
}

int watch(int seconds) {
    PlainDispatcher dispatcher;
    auto backend = makeBackend(dispatcher);
    const auto start = Clock::now();
    const auto elapsedMs = [&start] {
        return static_cast<long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
    };
    const BoundHidSystem system;
    DeviceChangeWindow window(kHidInterfaceClass,
                              [&system] { return listHidInterfaces(system.api); });
    window.watch([&](const DeviceChangeNotice& notice) {
        const std::string path = toUtf8(notice.path);
        dispatcher.post([&, path, removal = notice.removal] {
            std::printf("%6ld ms %s %s\n", elapsedMs(),
                        path.empty() ? "changed"
                        : removal    ? "removal"
                                     : "arrival",
                        path.c_str());
            printDevices(backend);
            std::fflush(stdout);
        });
    });
    std::printf("listening for %d s\n", seconds);
    std::fflush(stdout);
    dispatcher.runFor(std::chrono::seconds(seconds));
    return 0;
}

int roundTrip(int count) {
    PlainDispatcher dispatcher;
    auto backend = makeBackend(dispatcher);
    for (const HidDeviceInfo& info : backend.enumerate()) {
        if (UsbIds{info.vendorId, info.productId} != kProgrammer)
            continue;
        const auto connection = backend.open(info);
        if (!connection || !connection->readWriteAccess()) {
            std::printf("%s: %s\n", info.path.c_str(),
                        connection ? backend.accessRemedy(1).at(0).c_str() : "cannot be opened");
            return 1;
        }
        OutputReportBytes request{};
        request[report::kFamily] = static_cast<std::uint8_t>(Family::AvrIsp);
        request[report::kCommand] = static_cast<std::uint8_t>(Command::ReadSignature);
        InputReportBytes answer{};
        double slowest = 0, total = 0;
        int got = 0;
        for (int i = 0; i < count; ++i) {
            const auto sent = Clock::now();
            if (!connection->write(request)) {
                std::printf("write %d failed (error %lu)\n", i, ::GetLastError());
                return 1;
            }
            while ((got = connection->read(answer, 3000)) == 0 &&
                   Clock::now() - sent < std::chrono::seconds(3)) {
            }
            if (got <= 0) {
                std::printf("read %d: %s\n", i, got < 0 ? "failed" : "no answer within 3 s");
                return 1;
            }
            const double ms =
                std::chrono::duration<double, std::milli>(Clock::now() - sent).count();
            slowest = std::max(slowest, ms);
            total += ms;
        }
        std::printf("%d round trips, %.2f ms on average, %.2f ms at most; last answer %d bytes: "
                    "%02x %02x %02x %02x\n",
                    count, total / count, slowest, got, answer[0], answer[1], answer[2], answer[3]);
        return 0;
    }
    std::printf("no programmer\n");
    return 1;
}

} // namespace
} // namespace tarvik

int main(int argc, char** argv) {
    const std::string_view command = argc > 1 ? argv[1] : "list";
    const int number = argc > 2 ? std::atoi(argv[2]) : 0;
    if (command == "list")
        return tarvik::list();
    if (command == "watch")
        return tarvik::watch(number > 0 ? number : 30);
    if (command == "roundtrip")
        return tarvik::roundTrip(number > 0 ? number : 200);
    std::fprintf(stderr, "usage: tarvik-hid-probe list | watch SECONDS | roundtrip N\n");
    return 2;
}
