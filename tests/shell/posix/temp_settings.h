// TempSettings for the INI store: points XDG_CONFIG_HOME at a fresh folder for its lifetime, so
// the desktop's settings file is a temporary one.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <string_view>

class TempSettings {
public:
    TempSettings() {
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            old_ = old;
        setenv("XDG_CONFIG_HOME", qPrintable(dir_.path()), 1);
    }
    ~TempSettings() {
        if (old_)
            setenv("XDG_CONFIG_HOME", old_->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
    }

    // The desktop key's values as name → text.
    std::map<std::string, std::string> values() const {
        std::map<std::string, std::string> values;
        for (const QByteArray& line : storeText().split('\n')) {
            const qsizetype eq = line.indexOf('=');
            if (eq > 0)
                values[line.left(eq).toStdString()] = line.mid(eq + 1).toStdString();
        }
        return values;
    }
    // Sets the desktop key's values from "name=text" lines; a text that is not a decimal 32-bit
    // integer is a value of another type.
    void writeValues(std::string_view lines) const {
        writeStore(QByteArray("[software/Tarvik]\n") + QByteArray(lines.data(), lines.size()) +
                   "\n");
    }

    // The file itself.
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
