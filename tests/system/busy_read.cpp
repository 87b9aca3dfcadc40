// busy_read IMAGE.bin: reads the flash of the programmer on USB through the real backend into
// the window's buffer while the main thread is blocked for 200 ms at a quarter, half and three
// quarters of the transfer, then compares the buffer with IMAGE.bin. A reader that leaves the
// reports in the kernel while the main thread is busy loses some of them (the hidraw queue
// holds 64), and the read never ends. Exit status: 0 the exact image, 1 lost or wrong data,
// 2 bad usage, 3 no programmer.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <thread>
#include <vector>

#include "chips/device_menu.h"
#include "form/main_form.h"
#include "form/settings_store.h"
#include "link/dispatcher.h"
#include "link/hid_device_controller.h"
#include "link/usb_backend_factory.h"
#include "support/recording_host.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kBlocked = 200ms;
constexpr auto kStalled = 20s; // no progress for this long: reports were lost

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

} // namespace

int main(int argc, char** argv) {
    using namespace tarvik;
    if (argc != 2) {
        std::cerr << "usage: busy_read IMAGE.bin\n";
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    const std::vector<std::uint8_t> expected{std::istreambuf_iterator<char>(file), {}};
    if (!file.is_open() || expected.empty()) {
        std::cerr << argv[1] << ": cannot be read\n";
        return 2;
    }

    PlainDispatcher mainThread;
    const std::unique_ptr<HidBackend> backend = makeUsbBackend(mainThread);
    THidDeviceController controller(*backend, mainThread);
    MemorySettings settings;
    settings.values.insert_or_assign(std::string(setting::kLastDevice),
                                     chips::findDeviceEntry("nAVRISP")->lastDeviceIndex);
    scenario::RecordingHost host;
    TMainForm form(controller, settings, host);
    form.FormCreate();
    if (!mainThread.runUntil([&] { return form.ProgrammerDevice != nullptr; }, 5s)) {
        std::cerr << "no programmer\n";
        return 3;
    }

    const std::size_t points[] = {expected.size() / 4, expected.size() / 2,
                                  expected.size() * 3 / 4};
    std::size_t blocked = 0;
    const auto start = Clock::now();
    auto progressAt = start;
    std::size_t progress = 0;
    form.bAuslesenClick();
    const auto due = [&] {
        return blocked < std::size(points) && form.ReadData.size() >= points[blocked];
    };
    while (form.ProtocolState != stIdle) {
        mainThread.runUntil([&] { return form.ProtocolState == stIdle || due(); }, 100ms);
        if (due()) {
            // The main thread is busy (a repaint, a loaded machine) while the programmer goes
            // on sending.
            std::this_thread::sleep_for(kBlocked);
            ++blocked;
        }
        if (form.ProgrammerDevice == nullptr) {
            std::cerr << "the programmer went away\n";
            return 1;
        }
        if (form.ReadData.size() != progress) {
            progress = form.ReadData.size();
            progressAt = Clock::now();
        } else if (Clock::now() - progressAt > kStalled) {
            std::cerr << "stalled after " << progress << " of " << expected.size()
                      << " bytes: reports were lost\n";
            return 1;
        }
    }
    const double took = seconds(Clock::now() - start);
    const std::vector<std::uint8_t> read = form.Hexeditor.GetAllBytes();
    if (read != expected) {
        std::size_t first = 0;
        while (first < read.size() && first < expected.size() && read[first] == expected[first])
            ++first;
        std::cerr << "read " << read.size() << " bytes, expected " << expected.size()
                  << "; first difference at " << first << '\n';
        return 1;
    }
    // Reads come in pieces of 63 bytes, one input report each.
    const double reports = static_cast<double>((read.size() + 62) / 63);
    std::printf("read %zu bytes, identical, in %.2f s with the main thread blocked %zu x %lld ms "
                "(the programmer sent %.2f reports per ms)\n",
                read.size(), took, blocked,
                static_cast<long long>(std::chrono::milliseconds(kBlocked).count()),
                reports / (took * 1000));
    return blocked == std::size(points) ? 0 : 1;
}
