// The outcome every job leaves as state: its result, the step it failed in and why, the chip
// its signature named, whether the fuses were read and how far its transfer got, for every
// job and every step a job can fail in.
#include <gtest/gtest.h>

#include <optional>

#include "engine_fixture.h"
#include "operations/job_texts.h"

namespace tarvik::scenario {
namespace {

constexpr std::int64_t kFlash = 8192; // ATmega8
constexpr std::int64_t kEeprom = 512;
constexpr std::size_t kImage = 116; // two chunks

struct OutcomeCase {
    const char* name;
    void (TMainForm::*select)();
    void (TMainForm::*job)();
    bool detectFirst; // a write fuse job works on the chip a detect named
    int failCommand;  // the programmer's answer to this command (from 1) is the error
    std::size_t buffer;
    std::int64_t chipBytes; // what a read serves
    JobResult result;
    std::optional<std::uint8_t> failedStep;
    const LangText* errorLine; // nullptr: none, or checked apart
    bool chip;
    bool fusesRead;
    std::optional<TransferProgress> transfer;
};

using F = TMainForm;
constexpr auto kOk = JobResult::Succeeded;
constexpr auto kFail = JobResult::Failed;

const OutcomeCase kCases[] = {
    {"DetectSucceeds", &F::nAVRISPClick, &F::bDetectDeviceClick, false, 0, 0, 0, kOk, std::nullopt,
     nullptr, true, true, std::nullopt},
    {"DetectFailsAtTheSignature", &F::nAVRISPClick, &F::bDetectDeviceClick, false, 1, 0, 0, kFail,
     stSignature, &texts::kReadingSignature, false, false, std::nullopt},
    {"DetectFailsAtTheFuseRead", &F::nAVRISPClick, &F::bDetectDeviceClick, false, 2, 0, 0, kFail,
     stReadFuses, &texts::kReadingFuses, true, false, std::nullopt},
    {"EraseFailsAtTheErase", &F::nAVRISPClick, &F::bLoeschClick, false, 3, 0, 0, kFail, stErase,
     &texts::kErasing, true, true, std::nullopt},
    {"ProgramSucceeds", &F::nAVRISPClick, &F::bProgClick, false, 0, kImage, 0, kOk, std::nullopt,
     nullptr, true, true, TransferProgress{stVerify, kImage, kImage}},
    {"ProgramFailsBeforeItsFirstStep", &F::nAVRISPClick, &F::bProgClick, false, 0, 0, 0, kFail,
     stIdle, &texts::kNothingToWrite, false, false, std::nullopt},
    {"ProgramFailsAtTheErase", &F::nAVRISPClick, &F::bProgClick, false, 3, kImage, 0, kFail,
     stErase, &texts::kErasing, true, true, std::nullopt},
    {"ProgramFailsAtTheWrite", &F::nAVRISPClick, &F::bProgClick, false, 4, kImage, 0, kFail,
     stWrite, &texts::kWriting, true, true, TransferProgress{stWrite, 58, kImage}},
    {"ProgramFailsAtTheVerify", &F::nAVRISPClick, &F::bProgClick, false, 5, kImage, kFlash, kFail,
     stVerify, nullptr, true, true, TransferProgress{stRead, kFlash, kFlash}},
    {"VerifyFailsAtTheVerify", &F::nAVRISPClick, &F::bVerglClick, false, 3, kImage, kFlash, kFail,
     stVerify, nullptr, true, true, TransferProgress{stRead, kFlash, kFlash}},
    {"ReadFlashSucceeds", &F::nAVRISPClick, &F::bAuslesenClick, false, 0, 0, kFlash, kOk,
     std::nullopt, nullptr, true, true, TransferProgress{stRead, kFlash, kFlash}},
    {"ReadEepromSucceeds", &F::nAVRISPClick, &F::breadeepromClick, false, 0, 0, kEeprom, kOk,
     std::nullopt, nullptr, true, true, TransferProgress{stRead, kEeprom, kEeprom}},
    {"ProgramEepromFailsAtTheWrite", &F::nAVRISPClick, &F::bprogeepromClick, false, 3, kImage, 0,
     kFail, stWrite, &texts::kWritingEeprom, true, true, TransferProgress{stWrite, 58, kImage}},
    {"WriteFusesSucceeds", &F::nAVRISPClick, &F::bWriteFuseClick, true, 0, 0, 0, kOk, std::nullopt,
     nullptr, false, false, std::nullopt},
    {"WriteFusesFailsAtTheWrite", &F::nAVRISPClick, &F::bWriteFuseClick, true, 3, 0, 0, kFail,
     stWriteFuses, &texts::kWritingFuses, false, false, std::nullopt},
    {"SerialEepromReadSucceeds", &F::N24AA00Click, &F::bAuslesenClick, false, 0, 0, 16, kOk,
     std::nullopt, nullptr, false, false, TransferProgress{stRead, 16, 16}},
    {"SerialEepromEraseFails", &F::N24AA00Click, &F::bLoeschClick, false, 1, 0, 0, kFail, stErase,
     &texts::kErasing, false, false, std::nullopt},
};

class JobOutcomeTable : public EngineTest, public ::testing::WithParamInterface<OutcomeCase> {};

TEST_P(JobOutcomeTable, IsKeptAsState) {
    const OutcomeCase& c = GetParam();
    std::invoke(c.select, form);
    form.updatebuffer.checked = false;
    form.nverifynachprogrammieren.checked = true;
    programmer->fuseValues = {0xFF, 0xE1, 0xD9, 1, 2, 3, 4};
    programmer->readImage = Bytes(static_cast<std::size_t>(c.chipBytes), 0xFF);
    programmer->failCommand = c.failCommand;
    s.setBuffer(patternBytes(c.buffer));
    if (c.detectFirst) {
        ASSERT_TRUE(s.run(&F::bDetectDeviceClick));
        ASSERT_EQ(form.Outcome.result, kOk);
        form.FuseList.items[0].checked = !form.FuseList.items[0].checked;
        form.FuseListClickCheck(0);
    }
    ASSERT_TRUE(s.runAnswering(c.job, true));

    const JobOutcome& outcome = form.Outcome;
    EXPECT_TRUE(outcome.ended());
    EXPECT_EQ(outcome.result, c.result);
    EXPECT_EQ(outcome.failedStep, c.failedStep);
    if (c.errorLine != nullptr) {
        EXPECT_EQ(outcome.errorLine, pick(*c.errorLine, 1));
    } else if (c.result == kOk) {
        EXPECT_EQ(outcome.errorLine, "");
    }
    ASSERT_EQ(outcome.chip.has_value(), c.chip);
    if (c.chip) {
        EXPECT_EQ(outcome.chip->name, "ATmega8");
        EXPECT_EQ(outcome.chip->signature, (std::array<std::uint8_t, 3>{0x1E, 0x93, 0x07}));
        EXPECT_EQ(outcome.chip->flashBytes, kFlash);
        EXPECT_EQ(s.log().at(outcome.chip->logLines - 1), "ID: 1E 93 07");
    }
    EXPECT_EQ(outcome.fusesRead, c.fusesRead);
    ASSERT_EQ(outcome.transfer.has_value(), c.transfer.has_value());
    if (c.transfer) {
        EXPECT_EQ(outcome.transfer->step, c.transfer->step);
        EXPECT_EQ(outcome.transfer->done, c.transfer->done);
        EXPECT_EQ(outcome.transfer->total, c.transfer->total);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryJobAndStep, JobOutcomeTable, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A failed verify is explained by the read-back's count of differing bytes, not by the step.
TEST_F(EngineTest, AFailedVerifyKeepsTheDifferingBytesAsItsErrorLine) {
    form.nAVRISPClick();
    form.updatebuffer.checked = false;
    programmer->fuseValues = {0xFF, 0xE1, 0xD9, 1, 2, 3, 4};
    programmer->readImage = Bytes(kFlash, 0xFF);
    programmer->failCommand = 3;
    s.setBuffer(patternBytes(kImage));
    ASSERT_TRUE(s.run(&F::bVerglClick));
    EXPECT_EQ(form.Outcome.errorLine, fillIn(pick(texts::kDifferingBytes, 1), {"116"}));
}

// A job that never ends by itself: the programmer keeps silent at the write.
class SilentWrite : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        form.nAVRISPClick();
        form.updatebuffer.checked = false;
        programmer->fuseValues = {0xFF, 0xE1, 0xD9, 1, 2, 3, 4};
        programmer->silentCommand = 4;
        s.setBuffer(patternBytes(kImage));
        form.bProgClick();
        ASSERT_TRUE(s.runUntil([&] { return form.Outcome.transfer.has_value(); }));
        ASSERT_EQ(form.Outcome.result, JobResult::Running);
        EXPECT_FALSE(form.Outcome.ended());
    }
    void expectStoppedInTheWrite(JobResult result) {
        EXPECT_EQ(form.Outcome.result, result);
        EXPECT_EQ(form.Outcome.failedStep, stWrite);
        EXPECT_EQ(form.Outcome.errorLine, "Interrupted while writing: 58 of 116 bytes sent; the "
                                          "chip is now partly written.");
        EXPECT_EQ(form.Outcome.transfer->done, 58);
        EXPECT_TRUE(form.Outcome.chip.has_value());
    }
};

TEST_F(SilentWrite, AnAbortIsKeptWithTheStepAndHowFarItGot) {
    form.QuietAfterAbort = 1ms;
    form.nAbortClick();
    expectStoppedInTheWrite(JobResult::Aborted);
}

TEST_F(SilentWrite, AnUnplugIsKeptWithTheStepAndHowFarItGot) {
    s.unplug();
    expectStoppedInTheWrite(JobResult::Unplugged);
}

} // namespace
} // namespace tarvik::scenario
