// TempSettings for the registry store: for its lifetime the test process's HKEY_CURRENT_USER
// and HKEY_LOCAL_MACHINE are fresh keys of their own (RegOverridePredefKey), so the desktop's
// settings land in a temporary place and the user's stay untouched; the keys go at the end.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include <charconv>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class TempSettings {
public:
    TempSettings() {
        static int counter = 0;
        base_ = L"Software\\Tarvik tests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter);
        user_ = createKey(HKEY_CURRENT_USER, base_ + L"\\user");
        machine_ = createKey(HKEY_CURRENT_USER, base_ + L"\\machine");
        RegOverridePredefKey(HKEY_CURRENT_USER, user_);
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_);
    }
    ~TempSettings() {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        RegCloseKey(user_);
        RegCloseKey(machine_);
        RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Tarvik tests"); // once the last one is gone
    }
    TempSettings(const TempSettings&) = delete;
    TempSettings& operator=(const TempSettings&) = delete;

    // The desktop key's values as name → text: a REG_DWORD as its signed decimal number, a
    // string as itself, another type as "type N".
    std::map<std::string, std::string> values(HKEY hive = HKEY_CURRENT_USER) const {
        std::map<std::string, std::string> values;
        HKEY key = nullptr;
        if (RegOpenKeyExW(hive, kDesktopKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return values;
        for (DWORD i = 0;; ++i) {
            wchar_t name[256];
            DWORD nameLength = 256;
            BYTE data[512];
            DWORD size = sizeof data;
            DWORD type = REG_NONE;
            if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) !=
                ERROR_SUCCESS)
                break;
            std::string text;
            if (type == REG_DWORD && size == 4)
                text = std::to_string(*reinterpret_cast<const std::int32_t*>(data));
            else if (type == REG_SZ)
                text = QString::fromWCharArray(reinterpret_cast<const wchar_t*>(data),
                                               int(size / sizeof(wchar_t)))
                           .section(QChar(0), 0, 0)
                           .toStdString();
            else
                text = "type " + std::to_string(type);
            values[QString::fromWCharArray(name, int(nameLength)).toStdString()] = text;
        }
        RegCloseKey(key);
        return values;
    }

    // Sets the desktop key's values from "name=text" lines: a decimal 32-bit integer as a
    // REG_DWORD, any other text as a REG_SZ, a value of another type.
    void writeValues(std::string_view lines, HKEY hive = HKEY_CURRENT_USER) const {
        const QString text = QString::fromUtf8(lines.data(), qsizetype(lines.size()));
        for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
            const QString name = line.section(u'=', 0, 0);
            const std::string value = line.section(u'=', 1).toStdString();
            std::int32_t number = 0;
            const char* end = value.data() + value.size();
            const auto [ptr, ec] = std::from_chars(value.data(), end, number);
            if (!value.empty() && ec == std::errc() && ptr == end) {
                writeRaw(hive, name.toStdWString(), REG_DWORD, &number, sizeof number);
            } else {
                const std::wstring wide = QString::fromStdString(value).toStdWString();
                writeRaw(hive, name.toStdWString(), REG_SZ, wide.c_str(),
                         DWORD((wide.size() + 1) * sizeof(wchar_t)));
            }
        }
    }

    // Writes one value of any type under the desktop key.
    static void writeRaw(HKEY hive, const std::wstring& name, DWORD type, const void* data,
                         DWORD size) {
        HKEY key = createKey(hive, kDesktopKey);
        ASSERT_EQ(RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    static constexpr const wchar_t* kDesktopKey = L"software\\Tarvik";

private:
    static HKEY createKey(HKEY hive, const std::wstring& path) {
        HKEY key = nullptr;
        RegCreateKeyExW(hive, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        return key;
    }

    std::wstring base_;
    HKEY user_ = nullptr;
    HKEY machine_ = nullptr;
};
