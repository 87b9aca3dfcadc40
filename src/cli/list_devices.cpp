// list-devices. The identifiable chips are found by putting every virtual microcontroller's
// signature to the client's own identification, so the list shows the names the client gives.
#include "cli/list_devices.h"

#include <algorithm>
#include <chrono>
#include <iomanip>
#include <string>
#include <vector>

#include "chips/device_menu.h"
#include "chips/identification.h"
#include "cli/attached_programmers.h"
#include "cli/cli_texts.h"
#include "cli/device_names.h"
#include "cli/trace_backend.h"
#include "common/lang_text.h"
#include "emulator/virtual_chip.h"

namespace tarvik::cli {

namespace {

// A backend that connects in the background (the socket) has this long to find its programmer.
constexpr std::chrono::milliseconds kSettle{500};

// Writes text left-aligned in a column of that width, with at least one blank after it.
void column(std::ostream& out, std::string_view text, int width) {
    out << std::left << std::setw(width - 1) << text << ' ';
}

// The programmers on the bus, each as its path and identity.
void listAttached(std::ostream& out, const CliOptions& options, const BackendFactory& openBackend) {
    const std::uint8_t language = options.language;
    out << '\n' << pick(texts::kAttachedHeading, language) << '\n';
    PlainDispatcher dispatcher;
    std::unique_ptr<HidBackend> backend = openBackend(options.programmer, dispatcher);
    if (!backend) {
        out << "  " << pick(missingBackendText(options.programmer), language) << '\n';
        return;
    }
    backend->watch([] {});
    const auto settle = options.programmer.kind == ProgrammerChoice::Kind::Socket
                            ? std::max(options.wait, kSettle)
                            : options.wait;
    dispatcher.runUntil([&] { return !attachedProgrammers(*backend).empty(); }, settle);
    const std::vector<HidDeviceInfo> attached = attachedProgrammers(*backend);
    if (attached.empty())
        out << "  " << pick(texts::kNoneAttached, language) << '\n';
    for (const HidDeviceInfo& device : attached) {
        out << "  ";
        column(out, device.path, 20);
        out << device.identity << '\n';
    }
    backend.reset();
    dispatcher.runPending();
}

} // namespace

int listDevices(const CliOptions& options, CliIo& io, const BackendFactory& openBackend) {
    std::ostream& out = io.out;
    const std::uint8_t language = options.language;
    out << pick(texts::kEntriesHeading, language) << '\n';
    for (const DeviceName& name : kDeviceNames) {
        const chips::DeviceEntry* entry = chips::findDeviceEntry(name.entry);
        out << "  ";
        column(out, name.shortName, 10);
        out << (entry ? entry->caption : "") << '\n';
    }

    out << '\n' << pick(texts::kChipsHeading, language) << '\n';
    std::vector<std::string_view> listed;
    for (const emulator::VirtualChip& chip : emulator::virtualChips()) {
        if (chip.kind != emulator::ChipKind::Microcontroller)
            continue;
        const chips::ChipIdentity identity =
            chips::identify(chip.signature[0], chip.signature[1], chip.signature[2]);
        // Unnamed signatures and the locked-chip answer are not chips.
        if (!identity.named || identity.codeSize.empty() ||
            std::ranges::find(listed, identity.name) != listed.end())
            continue;
        listed.push_back(identity.name);
        out << "  " << hexPairs(chip.signature) << "  ";
        column(out, identity.name, 14);
        out << identity.codeSize << '\n';
    }

    out << '\n' << pick(texts::kVirtualHeading, language) << '\n';
    std::size_t width = 0;
    for (const emulator::VirtualChip& chip : emulator::virtualChips()) {
        if (width > 0 && width + chip.name.size() > 76) {
            out << '\n';
            width = 0;
        }
        out << (width == 0 ? "  " : " ") << chip.name;
        width += chip.name.size() + 1;
    }
    out << '\n';
    listAttached(out, options, openBackend);
    return 0;
}

} // namespace tarvik::cli
