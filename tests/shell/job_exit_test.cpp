// The window while a job waits for an answer that does not come: the hex view takes no edits,
// Action → Abort (Esc) is the only Action entry, closing asks first.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
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
    EXPECT_TRUE(window.Verlauf->toPlainText().endsWith("Aborted by the user."));
    EXPECT_TRUE(window.button("bProg")->isEnabled());
    EXPECT_FALSE(window.action("nAbort")->isEnabled());
    EXPECT_TRUE(window.action("nprogflash")->isEnabled());
    // Edit mode is the user's again.
    QTest::keyClick(window.Hexeditor, Qt::Key_Delete);
    EXPECT_EQ(window.form().Hexeditor.ByteCount(), 3999);
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
