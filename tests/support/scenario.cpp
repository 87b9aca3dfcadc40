// The scenario fixture.
#include "support/scenario.h"

#include <functional>

#include "support/test_remedy.h"

namespace tarvik::scenario {

Scenario::Scenario() {
    backend.setAccessRemedy(testAccessRemedy);
    form = std::make_unique<TMainForm>(controller, settings, host);
    form->FormCreate();
    form->sEnglishClick();
}

Scenario::~Scenario() {
    form.reset();
    dispatcher.runPending();
}

EmulatedBackend::Handle Scenario::plug(std::shared_ptr<VirtualDevice> device, Latency latency) {
    plugged_ = backend.plug(std::move(device), latency);
    runUntil([this] { return form->ProgrammerDevice != nullptr; }, 5s);
    return plugged_;
}

std::shared_ptr<emulator::VirtualProgrammer> Scenario::plugChip(std::string_view chipName,
                                                                Latency latency) {
    auto programmer = std::make_shared<emulator::VirtualProgrammer>(chipName);
    programmer->setRecording(true); // scenarios assert the reports that went out
    plug(programmer, latency);
    return programmer;
}

void Scenario::unplug() {
    backend.unplug(plugged_);
    runUntil([this] { return form->ProgrammerDevice == nullptr; }, 5s);
}

bool Scenario::run(void (TMainForm::*handler)(), std::chrono::milliseconds timeout) {
    std::invoke(handler, *form);
    return finishJob(timeout);
}

bool Scenario::runAnswering(void (TMainForm::*handler)(), bool agree,
                            std::chrono::milliseconds timeout) {
    std::invoke(handler, *form);
    if (form->FuseQuestion.asked) {
        form->FuseQuestionAnswered(agree);
    }
    return finishJob(timeout);
}

bool Scenario::finishJob(std::chrono::milliseconds timeout) {
    return runUntilState(stIdle, timeout);
}

bool Scenario::runUntilState(std::uint8_t state, std::chrono::milliseconds timeout) {
    return runUntil([this, state] { return form->ProtocolState == state; }, timeout);
}

bool Scenario::runUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout) {
    return dispatcher.runUntil(pred, timeout);
}

void Scenario::setBuffer(std::vector<std::uint8_t> bytes) {
    form->Hexeditor.SetAllBytes(std::move(bytes));
}

void Scenario::useManualClock(TDateTime start) {
    clock_ = std::make_shared<TDateTime>(start);
    form->Now = [clock = clock_] { return *clock; };
}

void Scenario::advanceClockMs(double ms) {
    *clock_ += ms / 86400000.0;
}

std::vector<std::uint8_t> sentCommands(const emulator::VirtualProgrammer& programmer) {
    std::vector<std::uint8_t> commands;
    for (const emulator::RecordedReport& report : programmer.record()) {
        if (report.direction == emulator::Direction::ToDevice && report.bytes.size() > 2) {
            commands.push_back(report.bytes[2]);
        }
    }
    return commands;
}

std::vector<std::uint8_t> patternBytes(std::size_t n, std::uint8_t seed) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i) {
        bytes[i] = static_cast<std::uint8_t>((i * 7 + seed + (i >> 8)) % 251);
    }
    return bytes;
}

} // namespace tarvik::scenario
