// The window while a job waits for an answer that does not come: the hex view takes no edits,
// Action → Abort (Esc) is the only Action entry, closing asks first; and Action → Blank check
// beside Abort, which leaves the buffer alone.
#include <gtest/gtest.h>

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "emulator/virtual_programmer.h"
#include "shell/hex_view/hex_view.h"
#include "shell_fixtures.h"

using namespace tarvik;

namespace {

// Answers the next message box with the button of that caption once it shows.
void answerNextBox(const QString& caption) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, caption] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        for (QAbstractButton* button : box->buttons())
            if (button->text() == caption)
                button->click();
        timer->deleteLater();
    });
    timer->start(10);
}

} // namespace

TEST(JobExit, AbortIsTheOnlyActionWhileAJobWaitsAndTheBufferTakesNoEdits) {
    TempSettings store;
    auto session = emulatedSession("ATmega8");
    MainWindow& window = session->window();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    startStalledJob(*session);

    EXPECT_TRUE(window.action("nAuswahl")->isEnabled());
    EXPECT_TRUE(window.action("nAbort")->isEnabled());
    for (const char* entry : {"nprogflash", "nreadflash", "nLoesch", "nDetectDevice"})
        EXPECT_FALSE(window.action(entry)->isEnabled()) << entry;
    window.Hexeditor->setFocus();
    QTest::keyClick(window.Hexeditor, Qt::Key_Delete);
    QTest::keyClick(window.Hexeditor, Qt::Key_A);
    EXPECT_EQ(window.form().Hexeditor.bytes(), std::vector<std::uint8_t>(4000, 0x5A));

    QTest::keyClick(&window, Qt::Key_Escape);
    window.renderNow();
    EXPECT_FALSE(window.form().JobRunning());
    // The log says which step the job was in and how far it got.
    const QString log = window.Verlauf->toPlainText();
    EXPECT_TRUE(log.contains("Aborted by the user.\nInterrupted while writing: "))
        << log.toStdString();
    EXPECT_TRUE(log.endsWith(" of 4000 bytes sent; the chip is now partly written.\n"
                             "Waiting for the programmer to finish its last command …"))
        << log.toStdString();
    // The controls come back once the programmer has been quiet for a while.
    EXPECT_FALSE(window.button("bProg")->isEnabled());
    ASSERT_TRUE(runUntil([&] { return window.button("bProg")->isEnabled(); }));
    EXPECT_FALSE(window.action("nAbort")->isEnabled());
    EXPECT_TRUE(window.action("nprogflash")->isEnabled());
    // Edit mode is the user's again.
    QTest::keyClick(window.Hexeditor, Qt::Key_Delete);
    EXPECT_EQ(window.form().Hexeditor.ByteCount(), 3999);
}

TEST(JobExit, BlankCheckIsInTheMenuWithAbortAndLeavesTheBufferAlone) {
    TempSettings store;
    auto session = emulatedSession("ATmega8"); // a chip with contents: not blank
    MainWindow& window = session->window();
    QAction* blankCheck = window.action("nBlankCheck");
    ASSERT_NE(blankCheck, nullptr);
    const QList<QObject*> menus = blankCheck->associatedObjects();
    EXPECT_TRUE(std::any_of(menus.begin(), menus.end(), [&](QObject* menu) {
        return window.action("nAbort")->associatedObjects().contains(menu);
    }));
    window.form().Hexeditor.SetAllBytes(std::vector<std::uint8_t>(100, 0x5A));
    blankCheck->trigger();
    ASSERT_TRUE(runUntil([&] { return window.form().Outcome.ended(); }, 10000));
    window.renderNow();
    EXPECT_EQ(window.form().Outcome.result, tarvik::JobResult::Failed);
    EXPECT_TRUE(window.Verlauf->toPlainText().contains("Bytes that are not blank (not 0xFF): "));
    EXPECT_EQ(window.form().Hexeditor.bytes(), std::vector<std::uint8_t>(100, 0x5A));
}

TEST(JobExit, ClosingDuringAJobAsksInTheCurrentLanguage) {
    TempSettings store;
    auto session = emulatedSession("ATmega8");
    MainWindow& window = session->window();
    window.show();
    window.action("sDeutsch")->trigger();
    startStalledJob(*session);

    answerNextBox(QStringLiteral("Nein"));
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.form().JobRunning());
    EXPECT_EQ(store.values()["Last Device"], "19"); // the ISP entry, stored at first start

    answerNextBox(QStringLiteral("Ja"));
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.form().JobRunning());
    EXPECT_EQ(store.values()["Last Device"], "19");
}

// Unsaved edits are never lost by closing: the close box and File → exit (Ctrl+X) ask
// Save / Discard / Cancel (Cancel the default), in the current language.
TEST(JobExit, ClosingWithUnsavedEditsAsksToSaveThem) {
    TempSettings store;
    auto session = emulatedSession("ATmega8");
    MainWindow& window = session->window();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.form().Hexeditor.SetAllBytes(std::vector<std::uint8_t>(64, 0x5A));
    window.action("neditbuffer")->trigger();
    window.Hexeditor->setFocus();
    QTest::keyClick(window.Hexeditor, Qt::Key_1);
    ASSERT_TRUE(window.form().Hexeditor.HasUnsavedEdits());

    std::vector<std::string> asked;
    const auto answer = [&](const QString& caption) {
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [timer, caption, &asked] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            std::string seen = box->text().toStdString();
            for (QAbstractButton* button : box->buttons()) {
                seen += '|';
                seen += button->text().toStdString();
            }
            asked.push_back(seen);
            if (caption.isEmpty())
                QTest::keyClick(box, Qt::Key_Escape);
            for (QAbstractButton* button : box->buttons())
                if (button->text() == caption)
                    button->click();
            timer->deleteLater();
        });
        timer->start(10);
    };

    answer(QString()); // Esc: the default, Cancel
    EXPECT_FALSE(window.close());
    answer(QStringLiteral("Cancel"));
    window.action("nEnde")->trigger();
    QTest::qWait(50);
    EXPECT_TRUE(window.isVisible());
    window.action("sDeutsch")->trigger();
    answer(QStringLiteral("Abbrechen"));
    EXPECT_EQ(window.action("nEnde")->shortcut(), QKeySequence("Ctrl+X"));
    window.action("nEnde")->trigger();
    QTest::qWait(50);
    EXPECT_TRUE(window.isVisible());
    ASSERT_EQ(asked.size(), 3u);
    const std::string english =
        "The buffer holds unsaved edits. Save them before exiting?|Save|Discard|Cancel";
    EXPECT_EQ(asked[0], english);
    EXPECT_EQ(asked[1], english);
    EXPECT_EQ(asked[2], "Der Buffer enthält ungespeicherte Änderungen. Vor dem Beenden "
                        "speichern?|Speichern|Verwerfen|Abbrechen");

    answer(QStringLiteral("Verwerfen"));
    EXPECT_TRUE(window.close());
}

// The close question waits inside a handler: the gauge and the log still follow the job.
TEST(JobExit, TheWindowKeepsRenderingWhileTheCloseQuestionIsOpen) {
    TempSettings store;
    ProgramOptions options;
    options.programmer = ProgramOptions::Programmer::Emulated;
    options.chip = "ATmega128";
    DesktopSession session(options, nullptr, Latency::UsbFullSpeed);
    MainWindow& window = session.window();
    window.show();
    window.action("nAVRISP")->trigger();
    window.renderNow();
    window.button("bAuslesen")->click();
    ASSERT_TRUE(runUntil([&] { return window.form().ProtocolState == stRead; }));

    std::vector<int> seen;
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, &seen, &window] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        seen.push_back(window.Gauge1->value());
        if (seen.size() < 30)
            return;
        for (QAbstractButton* button : box->buttons())
            if (button->text() == "No")
                button->click();
        timer->deleteLater();
    });
    timer->start(10);
    window.action("sEnglish")->trigger();
    EXPECT_FALSE(window.close());
    ASSERT_EQ(seen.size(), 30u);
    EXPECT_GT(seen.back(), seen.front());
    window.action("nAbort")->trigger();
}
