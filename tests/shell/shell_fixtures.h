// Helpers of the shell tests: a temporary configuration folder standing in for the user's, and
// a catcher that answers the modal message boxes and records their texts.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Points XDG_CONFIG_HOME at a fresh folder for its lifetime.
class TempConfigHome {
public:
    TempConfigHome() {
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            old_ = old;
        setenv("XDG_CONFIG_HOME", qPrintable(dir_.path()), 1);
    }
    ~TempConfigHome() {
        if (old_)
            setenv("XDG_CONFIG_HOME", old_->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
    }
    QString path() const { return dir_.path(); }
    QString storeFile() const { return dir_.path() + "/Tarvik/Tarvik.conf"; }
    QByteArray storeText() const {
        QFile file(storeFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeStore(const QByteArray& text) const {
        QDir().mkpath(dir_.path() + "/Tarvik");
        QFile file(storeFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

private:
    QTemporaryDir dir_;
    std::optional<std::string> old_;
};

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

#include <QElapsedTimer>

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
// current XDG_CONFIG_HOME, reports crossing at once.
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

// The settings file's values as name → text.
inline std::map<std::string, std::string> storedValues(const TempConfigHome& home) {
    std::map<std::string, std::string> values;
    for (const QByteArray& line : home.storeText().split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            values[line.left(eq).toStdString()] = line.mid(eq + 1).toStdString();
    }
    return values;
}
