// Edits the user has not saved are never dropped without a question: not by the reload a job
// does with "update buffer from file" on, and not by closing the window.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "form_fixture.h"

namespace tarvik::test {
namespace {

using namespace std::chrono_literals;

class UnsavedEdits : public FormTest {
protected:
    TempDir dir;

    void SetUp() override {
        plugProgrammer();
        form->QuietAfterAbort = 1ms;
        form->N24AA01Click();
        form->sEnglishClick();
        form->updatebuffer.checked = true;
        dir.write("fw.hex", ":0100000017E8\r\n:00000001FF\r\n");
        host.openChoice = dir.file("fw.hex");
        form->nopenClick();
        form->Hexeditor.setReadOnlyView(false);
    }
    void edit() {
        const std::uint8_t byte[] = {0x55};
        form->Hexeditor.overwrite(0, byte);
    }
    // Ends the job the test started, as Abort does, and waits until the next one may start.
    void endJob() {
        form->nAbortClick();
        ASSERT_TRUE(dispatcher.runUntil([&] { return !form->Settling(); }, 2s));
    }
};

TEST_F(UnsavedEdits, AJobAsksBeforeTheReloadDropsThem) {
    struct Case {
        std::optional<std::size_t> answer; // nothing: the default button (or Esc)
        bool started;
        HexBuffer::Bytes programmed;
    };
    const Case cases[] = {
        {std::nullopt, false, {0x55}}, // cancel: nothing starts, the edit stays
        {1, true, {0x55}},             // the buffer as it is
        {0, true, {0x17}},             // the file again
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.programmed[0]);
        edit();
        ASSERT_TRUE(form->Hexeditor.HasUnsavedEdits());
        host.questions.clear();
        host.choice = c.answer;
        form->bProgClick();
        ASSERT_EQ(host.questions.size(), 1u);
        EXPECT_EQ(host.questions[0],
                  "The buffer holds unsaved edits. \"Update buffer from file\" loads \"" +
                      dir.file("fw.hex") +
                      "\" again, and the edits are lost.|Reload the file|Use the buffer as it "
                      "is|Cancel");
        EXPECT_EQ(form->JobRunning(), c.started);
        EXPECT_EQ(form->Hexeditor.bytes(), c.programmed);
        if (c.started)
            endJob();
    }

    // Nothing unsaved: the reload goes ahead without a question.
    host.questions.clear();
    form->bVerglClick();
    EXPECT_TRUE(host.questions.empty());
    EXPECT_TRUE(form->JobRunning());
    EXPECT_EQ(form->Hexeditor.bytes(), HexBuffer::Bytes{0x17});
}

TEST_F(UnsavedEdits, TheReloadQuestionFollowsTheLanguage) {
    const std::pair<void (TMainForm::*)(), std::string> cases[] = {
        {&TMainForm::sDeutschClick,
         "Der Buffer enthält ungespeicherte Änderungen. „Buffer aus Datei updaten“ lädt „" +
             dir.file("fw.hex") +
             "“ neu, die Änderungen gehen dann verloren.|Datei neu laden|Buffer so "
             "verwenden|Abbrechen"},
        {&TMainForm::sFranceClick,
         "Буфер содержит несохранённые изменения. «Обновить буффер из файла» загрузит «" +
             dir.file("fw.hex") +
             "» заново, и изменения будут потеряны.|Загрузить файл заново|Использовать буфер "
             "как есть|Отмена"},
    };
    edit();
    for (const auto& [language, question] : cases) {
        std::invoke(language, *form);
        host.questions.clear();
        form->bprogeepromClick();
        ASSERT_EQ(host.questions.size(), 1u);
        EXPECT_EQ(host.questions[0], question);
    }
}

TEST_F(UnsavedEdits, ClosingAsksToSaveThem) {
    bool canClose = false;
    form->FormCloseQuery(canClose);
    EXPECT_TRUE(canClose);
    EXPECT_TRUE(host.questions.empty()); // nothing unsaved

    edit();
    const std::string question =
        "The buffer holds unsaved edits. Save them before exiting?|Save|Discard|Cancel";
    struct Case {
        std::optional<std::size_t> answer;
        std::optional<std::string> saveAs; // the save dialog's answer
        bool closes;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, false}, // the default: cancel
        {0, std::nullopt, false},            // save, but the save dialog is cancelled
        {1, std::nullopt, true},             // discard
        {0, dir.file("saved.hex"), true},
    };
    for (const Case& c : cases) {
        host.questions.clear();
        host.choice = c.answer;
        host.saveChoice = c.saveAs;
        form->FormCloseQuery(canClose);
        EXPECT_EQ(host.questions, std::vector<std::string>{question});
        EXPECT_EQ(canClose, c.closes);
    }
    EXPECT_EQ(dir.read("saved.hex"), ":1000000055FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFAA\r\n:00000001FF");
    EXPECT_FALSE(form->Hexeditor.HasUnsavedEdits());

    // While a job runs its own question comes first; a No there asks nothing more.
    edit();
    host.choice.reset();
    form->updatebuffer.checked = false;
    form->bProgClick();
    ASSERT_TRUE(form->JobRunning());
    host.questions.clear();
    host.answerYes = false;
    form->FormCloseQuery(canClose);
    EXPECT_FALSE(canClose);
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_TRUE(host.questions[0].starts_with("A job is still running."));
    host.answerYes = true;
    host.choice = 1;
    form->FormCloseQuery(canClose);
    EXPECT_TRUE(canClose);
    ASSERT_EQ(host.questions.size(), 3u);
    EXPECT_EQ(host.questions[2], question);
}

TEST_F(UnsavedEdits, TheCloseQuestionFollowsTheLanguage) {
    edit();
    const std::pair<void (TMainForm::*)(), std::string> cases[] = {
        {&TMainForm::sDeutschClick, "Der Buffer enthält ungespeicherte Änderungen. Vor dem "
                                    "Beenden speichern?|Speichern|Verwerfen|Abbrechen"},
        {&TMainForm::sFranceClick, "Буфер содержит несохранённые изменения. Сохранить их перед "
                                   "выходом?|Сохранить|Не сохранять|Отмена"},
    };
    for (const auto& [language, question] : cases) {
        std::invoke(language, *form);
        host.questions.clear();
        bool canClose = true;
        form->FormCloseQuery(canClose);
        EXPECT_FALSE(canClose);
        EXPECT_EQ(host.questions, std::vector<std::string>{question});
    }
}

// Edits, undo and redo are unsaved; a load, a replace and a save are not.
TEST_F(UnsavedEdits, TheBufferKnowsWhatIsUnsaved) {
    HexBuffer& buffer = form->Hexeditor;
    EXPECT_FALSE(buffer.HasUnsavedEdits());
    edit();
    EXPECT_TRUE(buffer.HasUnsavedEdits());
    host.saveChoice = dir.file("copy.hex");
    form->nsaveClick();
    EXPECT_FALSE(buffer.HasUnsavedEdits());
    buffer.UndoEdit(); // a HEX save keeps the history
    EXPECT_TRUE(buffer.HasUnsavedEdits());
    host.saveChoice = dir.file("copy.bin");
    form->nsaveClick();
    EXPECT_FALSE(buffer.HasUnsavedEdits());
    buffer.SetAllBytes({1, 2});
    EXPECT_FALSE(buffer.HasUnsavedEdits());
    buffer.erase(0, 1);
    EXPECT_TRUE(buffer.HasUnsavedEdits()); // no changed mark left, still an edit
    form->nopenClick();
    EXPECT_FALSE(buffer.HasUnsavedEdits());
}

} // namespace
} // namespace tarvik::test
