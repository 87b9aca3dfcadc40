// No job that can hang: the buffer is locked while a job sends it, Action → Abort and closing
// the window abandon a job that waits, and only reports that move a job on count as progress.
#include <gtest/gtest.h>

#include <functional>

#include "engine_fixture.h"

namespace tarvik::scenario {
namespace {

// The engine driven by hand: the programmer answers nothing, the test feeds every answer.
class HandFed : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        programmer->respond = [](std::span<const std::uint8_t>) {
            return std::vector<InputReportBytes>{};
        };
        form.nAVRISPClick();
        form.updatebuffer.checked = false;
        form.nverifynachprogrammieren.checked = true;
    }
    // Starts a program job on an ATmega8 and answers it up to the first data chunk.
    void startWrite() {
        form.bProgClick();
        feed({'s', 0x1E, 0x93, 0x07});
        feed({'r', 0xFF, 0xE1, 0xD9, 1, 2, 3, 4});
        feed({'e'});
        ASSERT_EQ(form.ProtocolState, stWrite);
    }
    // The data bytes of the chunks among these reports, joined.
    static Bytes chunkData(const std::vector<Bytes>& reports) {
        Bytes data;
        for (const Bytes& report : reports)
            data.insert(data.end(), report.begin() + 6, report.begin() + 6 + report[3]);
        return data;
    }
};

struct EditCase {
    const char* name;
    std::function<void(HexBuffer&)> edit;
};

// Every way the user changes the buffer in edit mode, tried between two chunks of a write.
const EditCase kEdits[] = {
    {"DeleteTheRest", [](HexBuffer& b) { b.erase(58, 58); }},
    {"InsertAtTheStart", [](HexBuffer& b) { b.typeBytes(0, Bytes{0xAA}); }},
    {"OverwriteAhead",
     [](HexBuffer& b) {
         b.overwrite(80, Bytes{0, 0, 0});
     }},
    {"UndoAnEarlierEdit", [](HexBuffer& b) { b.UndoEdit(); }},
};

class EditDuringWrite : public HandFed, public ::testing::WithParamInterface<EditCase> {};

TEST_P(EditDuringWrite, IsRefusedAndTheImageGoesOutWhole) {
    Bytes image = patternBytes(116); // two full chunks
    s.setBuffer(image);
    form.neditbufferClick(); // edit mode, inserting
    form.Hexeditor.overwrite(100, Bytes{0x42});
    image[100] = 0x42;
    startWrite();
    EXPECT_TRUE(form.JobRunning());
    EXPECT_FALSE(form.Hexeditor.Editable());

    GetParam().edit(form.Hexeditor);
    EXPECT_EQ(form.Hexeditor.bytes(), image);
    feed({'*'});
    feed({'w'});
    feed({'*'});
    feed({'v'});
    const std::vector<Bytes> reports = takeReports();
    EXPECT_EQ(chunkData(withCommand(reports, 3)), image);
    EXPECT_EQ(chunkData(withCommand(reports, 4)), image);
    EXPECT_EQ(s.log().at(s.log().size() - 2), "Successfully finished.");
    EXPECT_FALSE(form.JobRunning());
    EXPECT_TRUE(form.Hexeditor.Editable()); // the user's edit mode is back after the job
}

INSTANTIATE_TEST_SUITE_P(EveryEdit, EditDuringWrite, ::testing::ValuesIn(kEdits),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HandFed, AbortAbandonsAWaitingJobAndIgnoresItsLateAnswer) {
    form.QuietAfterAbort = 50ms;
    s.setBuffer(patternBytes(116));
    EXPECT_FALSE(form.nAbort.enabled);
    startWrite();
    EXPECT_TRUE(form.nAbort.enabled);
    EXPECT_FALSE(form.nAuswahl.enabled); // the Action menu opens for Abort alone
    const std::size_t linesBefore = s.log().size();

    form.nAbortClick();
    EXPECT_FALSE(form.JobRunning());
    EXPECT_EQ(form.ProtocolState, stIdle);
    EXPECT_FALSE(form.nAbort.enabled);
    ASSERT_EQ(s.log().size(), linesBefore + 3);
    EXPECT_EQ(s.log()[linesBefore], "Aborted by the user.");
    EXPECT_EQ(s.log()[linesBefore + 1], "Interrupted while writing: 58 of 116 bytes sent; the chip "
                                        "is now partly written.");
    EXPECT_EQ(s.log().back(), "Waiting for the programmer to finish its last command …");
    EXPECT_EQ(form.Gauge1.progress, 0);
    // The programmer may still be busy with the write: no job until it has been quiet.
    EXPECT_TRUE(form.Settling());
    EXPECT_FALSE(form.bProg.enabled);

    // The chunk that was on its way is answered after all: it belongs to no job.
    takeReports();
    feed({'*'});
    feed({'w'});
    EXPECT_TRUE(takeReports().empty());
    EXPECT_EQ(s.log().size(), linesBefore + 3);

    ASSERT_TRUE(s.runUntil([&] { return !form.Settling(); }, 2s));
    EXPECT_TRUE(form.bProg.enabled);
    EXPECT_TRUE(form.nAuswahl.enabled);

    // The next job starts afresh.
    form.bDetectDeviceClick();
    feed({'s', 0x1E, 0x93, 0x07});
    feed({'r', 0xFF, 0xE1, 0xD9, 1, 2, 3, 4});
    EXPECT_EQ(s.log().at(s.log().size() - 2), "Successfully finished.");
}

// The answer to a stalled verify that comes after the abort must not end the next verify as a
// success: the next verify starts only once the programmer has been quiet for a while, and
// every answer until then counts as noise.
TEST_F(HandFed, ALateAnswerOfAnAbortedVerifyNeverFinishesTheNext) {
    form.QuietAfterAbort = 200ms;
    form.N24AA512Click();
    s.setBuffer(patternBytes(200));
    form.bVerglClick();
    ASSERT_EQ(form.ProtocolState, stVerify);
    form.nAbortClick();
    takeReports();

    // Straight away, and while the programmer still talks: the verify does not start.
    form.bVerglClick();
    EXPECT_FALSE(form.JobRunning());
    s.dispatcher.runFor(120ms);
    feed({'v'}); // the stalled verify's answer, late
    s.dispatcher.runFor(120ms);
    EXPECT_TRUE(form.Settling()); // 240 ms since the abort, but only 120 ms quiet
    form.bVerglClick();
    EXPECT_FALSE(form.JobRunning());
    EXPECT_TRUE(takeReports().empty());

    ASSERT_TRUE(s.runUntil([&] { return !form.Settling(); }, 2s));
    form.bVerglClick();
    EXPECT_TRUE(form.JobRunning());
    EXPECT_EQ(takeReports().size(), 1u); // its first chunk
    EXPECT_EQ(form.ProtocolState, stVerify);
    EXPECT_NE(s.log().back(), "Successfully finished.");
}

TEST_F(HandFed, AbortLinesFollowTheLanguage) {
    form.QuietAfterAbort = 1ms;
    struct Case {
        void (TMainForm::*language)();
        const char* aborted;
        const char* stopped;
        const char* waiting;
    };
    const Case cases[] = {
        {&TMainForm::sDeutschClick, "Vom Benutzer abgebrochen.",
         "Unterbrochen beim Lesen der Signatur; der Chip ist unverändert.",
         "Warte, bis das Programmiergerät den letzten Befehl beendet hat …"},
        {&TMainForm::sEnglishClick, "Aborted by the user.",
         "Interrupted while reading the signature; the chip is unchanged.",
         "Waiting for the programmer to finish its last command …"},
        {&TMainForm::sFranceClick, "Прервано пользователем.",
         "Прервано при чтении сигнатуры; чип не изменён.",
         "Ожидание, пока программатор завершит последнюю команду …"},
    };
    for (const Case& c : cases) {
        std::invoke(c.language, form);
        form.bDetectDeviceClick();
        form.nAbortClick();
        ASSERT_GE(s.log().size(), 3u);
        EXPECT_EQ(s.log()[s.log().size() - 3], c.aborted);
        EXPECT_EQ(s.log()[s.log().size() - 2], c.stopped);
        EXPECT_EQ(s.log().back(), c.waiting);
        ASSERT_TRUE(s.runUntil([&] { return !form.Settling(); }, 2s));
    }
    const std::size_t lines = s.log().size();
    form.nAbortClick(); // no job: nothing happens
    EXPECT_EQ(s.log().size(), lines);
}

TEST_F(HandFed, ClosingDuringAJobAsksFirst) {
    s.setBuffer(patternBytes(116));
    bool canClose = false;
    form.FormCloseQuery(canClose);
    EXPECT_TRUE(canClose);
    EXPECT_TRUE(s.host.questions.empty()); // no job, no question

    form.sDeutschClick();
    startWrite();
    s.host.answerYes = false;
    form.FormCloseQuery(canClose);
    EXPECT_FALSE(canClose);
    ASSERT_EQ(s.host.questions.size(), 1u);
    EXPECT_EQ(s.host.questions[0],
              "Ein Auftrag läuft noch. Abbrechen und beenden? Der Chip kann dann unvollständig "
              "programmiert sein.|Ja|Nein");
    EXPECT_TRUE(form.JobRunning());

    form.sEnglishClick();
    s.host.answerYes = true;
    form.FormCloseQuery(canClose);
    EXPECT_TRUE(canClose);
    EXPECT_EQ(s.host.questions.back(),
              "A job is still running. Abort it and exit? The chip may be left partly "
              "programmed.|Yes|No");
    // Closing (also what SIGTERM and SIGINT do) abandons the job and stores the chip entry.
    form.FormClose();
    EXPECT_FALSE(form.JobRunning());
    EXPECT_FALSE(form.Settling()); // nothing to wait for when the window goes
    EXPECT_EQ(s.log().at(s.log().size() - 2), "Aborted by the user.");
    EXPECT_EQ(s.log().back(), "Interrupted while writing: 58 of 116 bytes sent; the chip is now "
                              "partly written.");
    EXPECT_EQ(std::get<int>(s.settings.values.at("Last Device")), 19);
}

TEST_F(HandFed, OnlyReportsThatMoveTheJobOnAreProgress) {
    s.setBuffer(patternBytes(58)); // one chunk
    startWrite();
    std::uint64_t progress = form.JobProgress();
    const auto moved = [&] {
        const bool result = form.JobProgress() != progress;
        progress = form.JobProgress();
        return result;
    };
    feed({'*'}); // after the last chunk: nothing to send
    EXPECT_FALSE(moved());
    feed({'v'}); // not this step's answer
    feed({'1'});
    EXPECT_FALSE(moved());
    feed({'w'}); // written: the verify starts and sends its chunk
    EXPECT_TRUE(moved());
    feed({'*'});
    EXPECT_FALSE(moved());
    feed({'v'});
    EXPECT_TRUE(moved());
    EXPECT_FALSE(form.JobRunning());
}

} // namespace
} // namespace tarvik::scenario
