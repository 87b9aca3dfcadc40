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
