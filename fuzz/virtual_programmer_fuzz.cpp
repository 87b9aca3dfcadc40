// The virtual programmer on any sequence of output reports, as any socket or uhid client may
// send them. The first byte picks the chip; then each report is a length byte and that many
// bytes. Every answer is a whole input report, a data report never claims more than it holds,
// and no command changes the size of the chip's memories.
#include "emulator/virtual_programmer.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvik;
    fuzz::FuzzInput input(data, size);
    const auto chips = emulator::virtualChips();
    emulator::VirtualProgrammer programmer(chips[input.choice(chips.size())]);
    programmer.setRecording(false);
    const std::size_t flashSize = programmer.flash().size();
    const std::size_t eepromSize = programmer.eeprom().size();

    while (!input.empty()) {
        const std::span<const std::uint8_t> report = input.take(input.byte());
        const bool readCommand = report.size() > report::kCommand &&
                                 (report[report::kCommand] == 5 || report[report::kCommand] == 10);
        const DeviceReply reply = programmer.onOutputReport(report);
        for (const InputReportBytes& answer : reply.reports) {
            fuzz::require(answer[0] == 0, "input reports carry report id 0");
            // An error answer '!' (33) is below the limit too.
            if (readCommand)
                fuzz::require(answer[1] <= report::kMaxReadPerReport,
                              "a data report holds what its count says");
        }
    }
    fuzz::require(programmer.flash().size() == flashSize &&
                      programmer.eeprom().size() == eepromSize,
                  "the chip's memories keep their sizes");
    return 0;
}
