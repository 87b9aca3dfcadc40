// Helpers of the shell tests: a temporary settings store standing in for the user's
// (temp_settings.h, one for each system's store), a catcher that answers the modal message boxes
// and records their texts, a desktop session with the virtual programmer, a job on it that
// stalls, and a look into the window's log.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

#include "temp_settings.h"

// While it exists, every modal message box is recorded and closed with OK.
class MessageBoxCatcher {
public:
    MessageBoxCatcher() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts.push_back(box->text().toStdString());
                box->accept();
            }
        });
        timer_.start(5);
    }
    std::vector<std::string> texts;

private:
    QTimer timer_;
};

#include <QAction>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>

#include "emulator/virtual_programmer.h"
#include "shell/desktop_session.h"
#include "shell/main_window.h"

// Runs the event loop until pred() holds or the timeout passes; returns pred().
template <typename Pred>
bool runUntil(Pred pred, int timeoutMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!pred() && timer.elapsed() < timeoutMs)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    return pred();
}

// A desktop session with the virtual programmer plugged in (or none), its settings in the
// desktop store (a TempSettings in the tests), reports crossing at once.
inline std::unique_ptr<tarvik::DesktopSession> emulatedSession(std::string chip = "ATmega8") {
    tarvik::ProgramOptions options;
    options.programmer = tarvik::ProgramOptions::Programmer::Emulated;
    options.chip = std::move(chip);
    auto session =
        std::make_unique<tarvik::DesktopSession>(options, nullptr, tarvik::Latency::None);
    QApplication::processEvents();
    session->window().renderNow();
    return session;
}

// Starts a program job that stalls after a few reports, with the buffer in edit mode.
inline void startStalledJob(tarvik::DesktopSession& session) {
    tarvik::MainWindow& window = session.window();
    window.form().Hexeditor.SetAllBytes(std::vector<std::uint8_t>(4000, 0x5A));
    window.action("nAVRISP")->trigger();
    window.action("neditbuffer")->trigger();
    session.programmer->injectFault(tarvik::emulator::Fault::NoAnswer, 6);
    window.renderNow();
    window.button("bProg")->click();
    ASSERT_TRUE(runUntil([&] { return session.programmer->reportsReceived() >= 6; }));
    window.renderNow();
}

// Whether the window's log holds this line.
inline bool logHas(const tarvik::MainWindow& window, const QString& text) {
    return window.Verlauf->toPlainText().split('\n').contains(text);
}
