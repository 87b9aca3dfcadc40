// The response handler on any programmer answers: a window over a programmer that answers
// nothing by itself, so every input report comes from the fuzzer and goes to HidData as the
// link hands it over (64 bytes after the report id).
//
// Input: the Device menu entry, the buffer size (two bytes, up to 4 KiB), the options
// (verify after write, interface language), then items. An item's first byte holds its kind
// in the top two bits and a number n in the low six: kinds 0-2 are an input report whose
// payload is the next n + 1 bytes, zero-padded; kind 3 is a user action: n < 8 presses job
// button n, if enabled; n >= 8 toggles fuse list entry n - 8, if the list and the entry let it.
//
// After every item: 0 <= SendPos <= ByteCount, ReadData no more than ExpectedSize + 63,
// ProtocolState a state. Every report written is 65 bytes, a chunk carrying at most 58 bytes.
#include <array>

#include "fuzz_input.h"
#include "fuzz_window.h"
#include "protocol/virtual_device.h"

namespace {

using namespace tarvik;

// Checks every output report as the programmer receives it, and answers none.
class CheckingProgrammer : public VirtualDevice {
public:
    DeviceReply onOutputReport(std::span<const std::uint8_t> report) override {
        fuzz::require(report.size() == report::kOutputLength, "an output report is 65 bytes");
        const auto command = static_cast<Command>(report[report::kCommand]);
        if (command == Command::WriteFlash || command == Command::Verify ||
            command == Command::WriteEeprom)
            fuzz::require(report[report::kParam1] <= report::kDataCapacity,
                          "a chunk carries at most 58 bytes");
        return {};
    }
};

using Handler = void (TMainForm::*)();

constexpr Handler kDeviceEntries[] = {
    &TMainForm::n89Cx051Click, &TMainForm::n89C5xClick,   &TMainForm::n89SxxClick,
    &TMainForm::N90S1200Click, &TMainForm::nAVRISPClick,  &TMainForm::N24AA00Click,
    &TMainForm::N24AA01Click,  &TMainForm::N24C01CClick,  &TMainForm::N24AA02Click,
    &TMainForm::N24C02CClick,  &TMainForm::N24C04AClick,  &TMainForm::N24AA04Click,
    &TMainForm::N24AA08Click,  &TMainForm::N24AA16Click,  &TMainForm::N24aa32Click,
    &TMainForm::N24AA64Click,  &TMainForm::N24AA128Click, &TMainForm::n24AA256Click,
    &TMainForm::N24AA512Click, &TMainForm::N12C508Click,
};

struct JobButton {
    Button TMainForm::*button;
    Handler click;
};

constexpr JobButton kJobButtons[] = {
    {&TMainForm::bProg, &TMainForm::bProgClick},
    {&TMainForm::bVergl, &TMainForm::bVerglClick},
    {&TMainForm::bAuslesen, &TMainForm::bAuslesenClick},
    {&TMainForm::bLoesch, &TMainForm::bLoeschClick},
    {&TMainForm::breadeeprom, &TMainForm::breadeepromClick},
    {&TMainForm::bprogeeprom, &TMainForm::bprogeepromClick},
    {&TMainForm::bWriteFuse, &TMainForm::bWriteFuseClick},
    {&TMainForm::bDetectDevice, &TMainForm::bDetectDeviceClick},
};

constexpr Handler kLanguages[] = {&TMainForm::sDeutschClick, &TMainForm::sEnglishClick,
                                  &TMainForm::sFranceClick};

// The buffer's bytes, made once: large enough for many chunks of every size, small enough
// that setting it up doesn't take the fuzzer's time.
const std::array<std::uint8_t, 4096> kBufferPattern = [] {
    std::array<std::uint8_t, 4096> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
    return bytes;
}();

void checkInvariants(const TMainForm& form) {
    fuzz::require(form.SendPos >= 0 &&
                      form.SendPos <= static_cast<std::int64_t>(form.Hexeditor.ByteCount()),
                  "0 <= SendPos <= ByteCount");
    fuzz::require(static_cast<std::int64_t>(form.ReadData.size()) <=
                      std::int64_t{form.ExpectedSize} + 63,
                  "ReadData holds at most ExpectedSize + 63 bytes");
    fuzz::require(form.ProtocolState <= stAskUser, "ProtocolState is a state");
}

void userAction(TMainForm& form, std::size_t n) {
    if (n < std::size(kJobButtons)) {
        const JobButton& job = kJobButtons[n];
        if ((form.*job.button).enabled)
            (form.*job.click)();
        return;
    }
    const std::size_t entry = n - std::size(kJobButtons);
    if (!form.FuseList.enabled || entry >= form.FuseList.items.size() ||
        !form.FuseList.items[entry].enabled)
        return;
    form.FuseList.items[entry].checked = !form.FuseList.items[entry].checked;
    form.FuseListClickCheck(static_cast<int>(entry));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    fuzz::FuzzWindow window(std::make_shared<CheckingProgrammer>());
    TMainForm& form = window.form();
    fuzz::require(form.ProgrammerDevice != nullptr, "the window holds the programmer");

    (form.*kDeviceEntries[input.choice(std::size(kDeviceEntries))])();
    const std::size_t bufferSize = input.word() % (kBufferPattern.size() + 1);
    form.Hexeditor.SetAllBytes({kBufferPattern.begin(), kBufferPattern.begin() + bufferSize});
    const std::uint8_t options = input.byte();
    form.updatebuffer.checked = false; // the buffer is the input's, never a file's
    form.nverifynachprogrammieren.checked = (options & 1) != 0;
    (form.*kLanguages[(options >> 1) % std::size(kLanguages)])();

    while (!input.empty()) {
        const std::uint8_t item = input.byte();
        const std::size_t n = item & 0x3F;
        if (item >> 6 == 3) {
            userAction(form, n);
        } else {
            std::array<std::uint8_t, report::kInputLength - 1> payload{};
            const std::span<const std::uint8_t> bytes = input.take(n + 1);
            std::copy(bytes.begin(), bytes.end(), payload.begin());
            form.HidData(form.ProgrammerDevice, 0, payload.data(),
                         static_cast<std::uint16_t>(payload.size()));
        }
        checkInvariants(form);
    }
    return 0;
}
