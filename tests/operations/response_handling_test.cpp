// How the window reacts to each answer: chunks, errors, answers out of turn, read data, the
// result and duration lines, and answers no programmer should give.
#include <gtest/gtest.h>

#include <functional>

#include "engine_fixture.h"
#include "operations/job_texts.h"

namespace tarvik::scenario {
namespace {

class ResponseTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        programmer->respond = {}; // the test answers by hand
        form.updatebuffer.checked = false;
    }

    // The log from the empty line before the result on.
    std::vector<std::string> ending() const {
        const auto& log = s.log();
        return log.size() < 3 ? log : std::vector<std::string>(log.end() - 3, log.end());
    }
};

TEST_F(ResponseTest, ErrorInTheMiddleOfAWriteEndsTheJobWithNoFurtherChunk) {
    form.N24AA512Click();
    s.setBuffer(patternBytes(100));
    form.bProgClick();
    feed({'*'});
    ASSERT_EQ(takeReports().size(), 2u);
    feed({'!'});
    feed({'*'});
    EXPECT_TRUE(takeReports().empty());
    EXPECT_EQ(form.ProtocolState, stIdle);
    EXPECT_EQ(s.log().at(s.log().size() - 2), "Error.");
    EXPECT_FALSE(form.ErrorFlag); // reported, then cleared
    EXPECT_TRUE(form.bProg.enabled);
}

TEST_F(ResponseTest, AnswersThatDontBelongToTheStateLeaveTheJobWaiting) {
    form.N24AA512Click();
    form.bLoeschClick();
    takeReports();
    for (const std::uint8_t code : {'w', 'v', 's', 'r', 'f', '1', '2', 'x', '*'}) {
        feed({code});
        EXPECT_EQ(form.ProtocolState, stErase) << code;
    }
    EXPECT_EQ(s.log(), std::vector<std::string>{"erasing..."});
    EXPECT_TRUE(takeReports().empty());
    feed({'e'});
    EXPECT_EQ(ending()[1], "Successfully finished.");
}

TEST_F(ResponseTest, ReadDataCountsAreCountsEvenWhenTheyLookLikeCodes) {
    form.N24AA00Click(); // 16 bytes expected
    form.bAuslesenClick();
    Bytes answer{'!'}; // 33 data bytes follow
    const Bytes data = patternBytes(33);
    answer.insert(answer.end(), data.begin(), data.end());
    feed(answer);
    // The report held more than was missing: every byte it carried goes to the buffer.
    EXPECT_EQ(form.Hexeditor.bytes(), data);
    EXPECT_EQ(ending()[1], "Successfully finished.");
}

TEST_F(ResponseTest, ReadReportsAreTakenOnlyAsFarAsTheyGo) {
    form.N24AA01Click(); // 128 bytes expected
    form.bAuslesenClick();
    feed({200, 1, 2, 3, 4}); // claims 200 bytes, holds 4
    EXPECT_EQ(form.ReadData, (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(form.Gauge1.maxValue, 128);
    EXPECT_EQ(form.Gauge1.progress, 4);
    feed({'*', 9});
    EXPECT_EQ(form.ReadData, (Bytes{1, 2, 3, 4, 9}));
    form.HidData(form.ProgrammerDevice, 0, nullptr, 0); // an empty report
    EXPECT_EQ(form.ReadData.size(), 5u);
    EXPECT_EQ(form.ProtocolState, stRead);
}

TEST_F(ResponseTest, ReadOfZeroBytesEndsWithTheFirstDataReport) {
    s.setBuffer(patternBytes(5));
    form.nAVRISPClick();
    form.bDetectDeviceClick();
    feed({'s', 0x00, 0x01, 0x02}); // "Device locked !": an empty fuse request
    feed({'r'});
    form.breadeepromClick();
    feed({'s', 0x00, 0x01, 0x02});
    feed({'r'});
    ASSERT_EQ(form.ProtocolState, stRead);
    EXPECT_EQ(form.ExpectedSize, 0);
    feed({0});
    EXPECT_EQ(form.ProtocolState, stIdle);
    EXPECT_EQ(form.Hexeditor.ByteCount(), 0);
    EXPECT_EQ(ending()[1], "Successfully finished.");
}

TEST_F(ResponseTest, FuseWriteIsRefusedWhenTheListIsNotTheIdentifiedChips) {
    form.nAVRISPClick();
    form.bDetectDeviceClick();
    feed({'s', 0x1E, 0x93, 0x07}); // ATmega8: its 22 entries
    feed({'r', 0xFF, 0xE1, 0xD9, 0xA0, 0xA1, 0xA2, 0xA3});
    form.bDetectDeviceClick();
    feed({'s', 0x00, 0x01, 0x02}); // "Device locked !" keeps the ATmega8 list
    feed({'r'});
    takeReports();
    form.FuseList.items[21].checked = true;
    form.FuseListClickCheck(21);
    form.bWriteFuseClick();
    // An empty entry list would change nothing and still report success.
    EXPECT_TRUE(takeReports().empty());
    EXPECT_EQ(form.ProtocolState, stIdle);
    EXPECT_EQ(s.log().at(s.log().size() - 4),
              "The fuse list does not belong to the identified chip, detect the chip again.");
    EXPECT_EQ(ending()[1], "Error.");
}

TEST_F(ResponseTest, DurationLine) {
    struct Case {
        double ms;
        const char* line;
    };
    const Case cases[] = {
        {0, "Duration: 0.00 s"},
        {9, "Duration: 0.00 s"},
        {12, "Duration: 0.01 s"},
        {1000, "Duration: 1.00 s"},
        {61999, "Duration: 61.99 s"},
        {3723450, "Duration: 3723.45 s"},
        {70000000, "Duration: 70000.00 s"}, // beyond 65535 s the seconds don't wrap
    };
    form.N24AA512Click();
    for (const Case& c : cases) {
        s.useManualClock(45270.123456789);
        form.bLoeschClick();
        s.advanceClockMs(c.ms);
        feed({'e'});
        EXPECT_EQ(s.log().back(), c.line);
    }
}

TEST_F(ResponseTest, ReportsWhileIdleBelongToNoJob) {
    // Not even an error or an end: with no job running there is nothing to finish.
    const auto lines = s.log().size();
    for (const Bytes& report : {Bytes{'!'}, Bytes{'q'}, Bytes{'*'}, Bytes{'w'}, Bytes{'v'}})
        feed(report);
    EXPECT_EQ(s.log().size(), lines);
    EXPECT_TRUE(takeReports().empty());
}

TEST_F(ResponseTest, NextChunkAfterTheLastChunkSendsNothing) {
    form.N24AA512Click();
    s.setBuffer(patternBytes(10));
    form.bProgClick();
    ASSERT_EQ(takeReports().size(), 1u);
    feed({'*'});
    EXPECT_TRUE(takeReports().empty());
    EXPECT_EQ(form.ProtocolState, stWrite);
    // The buffer growing meanwhile is sent on as the transfer's continuation.
    s.setBuffer(patternBytes(20));
    feed({'*'});
    const auto more = takeReports();
    ASSERT_EQ(more.size(), 1u);
    EXPECT_EQ(slice(more[0], 3, 2), (Bytes{10, 0}));
}

TEST_F(ResponseTest, AFinishedJobLeavesNoTransferPositionBehind) {
    // A write of 100 bytes, then a read that replaces the buffer with 16: the position of the
    // write must not point past the new buffer's end.
    form.N24AA00Click();
    form.nverifynachprogrammieren.checked = false;
    s.setBuffer(patternBytes(100));
    form.bProgClick();
    for (int chunk = 2; chunk <= 4; ++chunk) // 32 bytes each, the first sent at the start
        feed({'*'});
    feed({'w'});
    ASSERT_EQ(form.ProtocolState, stIdle);
    EXPECT_EQ(form.SendPos, 0);
    form.bAuslesenClick();
    Bytes answer{16};
    const Bytes data = patternBytes(16, 3);
    answer.insert(answer.end(), data.begin(), data.end());
    feed(answer);
    ASSERT_EQ(form.Hexeditor.bytes(), data);
    EXPECT_EQ(form.SendPos, 0);
}

TEST_F(ResponseTest, NothingToSendEndsTheStepWithTheError) {
    // A verify of an empty buffer fails at its first step, with nothing sent.
    form.N24AA512Click();
    s.setBuffer({});
    takeReports();
    form.bVerglClick();
    EXPECT_TRUE(takeReports().empty());
    ASSERT_GE(s.log().size(), 5u);
    EXPECT_EQ(s.log()[s.log().size() - 5], "verifying...");
    EXPECT_EQ(s.log()[s.log().size() - 4], "Buffer is empty.");
    EXPECT_EQ(ending()[1], "Error.");
    EXPECT_EQ(form.ProtocolState, stIdle);
}

TEST_F(ResponseTest, ProgrammingAnEmptyBufferEndsBeforeAnythingIsSent) {
    struct Case {
        const char* name;
        void (TMainForm::*select)();
        void (TMainForm::*job)();
    };
    const Case cases[] = {
        {"SerialWrite", &TMainForm::N24AA512Click, &TMainForm::bProgClick},
        {"SocketWrite", &TMainForm::n89C5xClick, &TMainForm::bProgClick},
        {"IspWrite", &TMainForm::nAVRISPClick, &TMainForm::bProgClick},
        {"EepromWrite", &TMainForm::nAVRISPClick, &TMainForm::bprogeepromClick},
    };
    const std::pair<void (TMainForm::*)(), const char*> languages[] = {
        {&TMainForm::sDeutschClick,
         "Der Buffer ist leer: nichts zu schreiben, der Chip bleibt unverändert."},
        {&TMainForm::sEnglishClick,
         "The buffer is empty: nothing to write, the chip is left as it is."},
        {&TMainForm::sFranceClick, "Буфер пуст: записывать нечего, чип не изменён."},
    };
    for (const auto& [language, line] : languages) {
        std::invoke(language, form);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            std::invoke(c.select, form);
            s.setBuffer({});
            takeReports();
            std::invoke(c.job, form);
            EXPECT_TRUE(takeReports().empty()); // no erase, no signature read
            ASSERT_EQ(s.log().size(), 4u);
            EXPECT_EQ(s.log()[0], line);
            EXPECT_EQ(s.log()[2], pick(texts::kFailure, form.LanguageCode));
            EXPECT_FALSE(form.JobRunning());
            EXPECT_TRUE(form.bAuslesen.enabled);
        }
    }
}

TEST_F(ResponseTest, FlashReadNeedsADecimalSize) {
    struct Case {
        const char* codeSize;
        bool ok;
    };
    const Case cases[] = {{"", false},    {"abc", false},         {"-5", false},
                          {"12x", false}, {"99999999999", false}, {"0", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codeSize);
        form.nAVRISPClick();
        form.CodeSize.text = c.codeSize;
        form.bAuslesenClick();
        feed({'s', 0x00, 0x01, 0x02}); // "Device locked !" leaves the size as it was
        feed({'r'});
        if (c.ok) {
            EXPECT_EQ(form.ProtocolState, stRead);
            feed({0});
            EXPECT_EQ(ending()[1], "Successfully finished.");
        } else {
            EXPECT_EQ(s.log()[s.log().size() - 4], "Flash size unknown.");
            EXPECT_EQ(ending()[1], "Error.");
            EXPECT_EQ(withCommand(takeReports(), 5).size(), 0u);
        }
        takeReports();
    }
}

TEST_F(ResponseTest, JobWithoutAFamilyEndsAtOnce) {
    form.N16C84Click(); // a Microchip entry: no family the programmer knows
    s.useManualClock();
    form.breadeepromClick();
    EXPECT_TRUE(takeReports().empty());
    EXPECT_EQ(s.log(), (std::vector<std::string>{"This action is not available for the selected "
                                                 "device.",
                                                 "", "Error.", "Duration: 0.00 s"}));
    EXPECT_TRUE(form.bAuslesen.enabled);
    EXPECT_TRUE(form.breadeeprom.enabled);
    EXPECT_FALSE(form.bLoesch.enabled); // this Microchip entry keeps erasing off
    EXPECT_TRUE(form.nDevice.enabled);
}

TEST_F(ResponseTest, FamilyByteStaysWhenNoFamilyIsSelected) {
    form.N24AA512Click();
    form.bLoeschClick();
    form.N16F84Click();
    form.SendReport();
    const auto reports = takeReports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[1][1], 3);
}

TEST_F(ResponseTest, AFailedWriteEndsTheJobWithTheError) {
    const std::vector<std::string> failed{"writing...", "Writing to the programmer failed.", "",
                                          "Error.", "Duration: 0.00 s"};
    form.N24AA512Click();
    s.setBuffer(patternBytes(100));
    for (const bool atTheFirstChunk : {false, true}) {
        SCOPED_TRACE(atTheFirstChunk);
        s.unplug();
        const auto handle = s.plug(programmer);
        takeReports();
        if (atTheFirstChunk) {
            s.backend.refuseWrites(handle);
            form.bProgClick();
        } else {
            form.bProgClick();
            ASSERT_EQ(takeReports().size(), 1u);
            s.backend.refuseWrites(handle);
            feed({'*'});
        }
        EXPECT_TRUE(takeReports().empty());
        EXPECT_EQ(form.ProtocolState, stIdle);
        EXPECT_EQ(s.log(), failed);
        // Still plugged in: the rescan the write asked for leaves the programmer as it is.
        s.dispatcher.runPending();
        EXPECT_NE(form.ProgrammerDevice, nullptr);
        EXPECT_TRUE(form.bProg.enabled);
    }
}

TEST_F(ResponseTest, OnlyADeviceWithTheProgrammersReportLengthsIsTaken) {
    s.unplug();
    struct Case {
        std::uint16_t input, output;
        const char* log;
    };
    const Case cases[] = {
        {65, 9,
         "emulated:2 has the ids 0451:3210 but input reports of 65 and output reports of "
         "9 bytes instead of 65: not used."},
        {33, 100,
         "emulated:3 has the ids 0451:3210 but input reports of 33 and output reports "
         "of 100 bytes instead of 65: not used."},
        {65, 65, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output);
        auto device = std::make_shared<ScriptedProgrammer>();
        EmulatedDeviceOptions options;
        options.inputReportLength = c.input;
        options.outputReportLength = c.output;
        const auto handle = s.backend.plug(device, Latency::None, options);
        ASSERT_TRUE(s.runUntil([&] { return s.controller.DeviceList().size() == 1; }));
        s.dispatcher.runPending();
        if (c.log != nullptr) {
            EXPECT_EQ(form.ProgrammerDevice, nullptr);
            EXPECT_EQ(s.log(), std::vector<std::string>{c.log});
            EXPECT_EQ(form.StatusBar.panels[0], "Программатор не подключен!");
            EXPECT_FALSE(form.bLoesch.enabled);
        } else {
            ASSERT_NE(form.ProgrammerDevice, nullptr);
            form.N24AA512Click();
            form.bLoeschClick();
            ASSERT_EQ(device->reports().size(), 1u);
            EXPECT_EQ(device->reports()[0].size(), 65u);
        }
        s.backend.unplug(handle);
        ASSERT_TRUE(s.runUntil([&] { return s.controller.DeviceList().empty(); }));
    }
}

TEST_F(ResponseTest, SocketFuseStepsNeedTheFourSocketEntries) {
    form.N90S1200Click();
    form.bDetectDeviceClick();
    feed({'s', 0x1E, 0x93, 0x01}); // AT90S8515 in the socket: the lock pair replaces the list
    ASSERT_EQ(form.FuseList.items.size(), 2u);

    form.FuseListClickCheck(0);
    form.bWriteFuseClick();
    EXPECT_EQ(s.log()[0], "Fuse list incomplete: fewer than 4 entries, detect the chip again.");
    EXPECT_EQ(ending()[1], "Error.");

    form.bDetectDeviceClick();
    feed({'s', 0x00, 0x01, 0x02}); // a locked chip keeps the list as it is
    EXPECT_EQ(s.log()[2], "Fuse list incomplete: fewer than 4 entries, detect the chip again.");
    EXPECT_EQ(ending()[1], "Error.");
    takeReports();

    // An AT90S1200 gets the four socket entries back before position 3 is named.
    form.bDetectDeviceClick();
    feed({'s', 0x1E, 0x90, 0x01});
    ASSERT_EQ(form.FuseList.items.size(), 4u);
    EXPECT_EQ(form.FuseList.items[2].text, "SPIEN");
    EXPECT_EQ(form.FuseList.items[3].text, "RCEN");
    EXPECT_EQ(ending()[1], "Successfully finished.");
    EXPECT_EQ(programmer->commands(), (Bytes{1, 1, 1})); // no fuse command ever went out
}

TEST_F(ResponseTest, SignatureReportTooShortNamesNoChip) {
    form.nAVRISPClick();
    form.bDetectDeviceClick();
    feed({'s', 0x1E});
    EXPECT_EQ(s.log()[1], "ID: 1E");
    EXPECT_EQ(form.AutoDevice.text, "Error");
    EXPECT_EQ(ending()[1], "Error.");
}

TEST_F(ResponseTest, EveryHandlerNotifiesTheViewOnce) {
    int changes = 0;
    form.OnChange = [&] { ++changes; };
    form.N24AA512Click();
    changes = 0;
    s.setBuffer(patternBytes(100));
    form.nverifynachprogrammieren.checked = true;
    changes = 0;
    form.bProgClick(); // starts the job
    EXPECT_EQ(changes, 1);
    feed({'*'}); // the next chunk
    EXPECT_EQ(changes, 2);
    feed({'w'}); // write done, verify starts
    EXPECT_EQ(changes, 3);
    feed({'*'});
    feed({'v'}); // finished
    EXPECT_EQ(changes, 5);
}

TEST_F(ResponseTest, LanguageSwitchInTheMiddleChangesOnlyTheLaterLines) {
    s.useManualClock();
    form.N24AA512Click();
    s.setBuffer(patternBytes(100));
    form.nverifynachprogrammieren.checked = true;
    form.bProgClick();
    feed({'*'});
    form.sDeutschClick();
    feed({'w'});
    form.sFranceClick();
    feed({'*'});
    feed({'v'});
    EXPECT_EQ(s.log(), (std::vector<std::string>{"writing...", "vergleiche...", "",
                                                 "Действие завершено успешно !",
                                                 "Время выполнения : 0.00 s"}));
}

} // namespace
} // namespace tarvik::scenario
