// TRegistryEdit over QSettings with the readable INI format of settings_ini.h, in the file
// ini_store.h names. QSettings brings the safe write (a temporary file renamed over the old one)
// and the file locking.
#include "shell/registry_edit.h"

#include <QByteArray>
#include <QDir>
#include <QIODevice>
#include <QSettings>

#include <charconv>
#include <cstdlib>
#include <optional>

#include "common/user_error.h"
#include "shell/posix/ini_store.h"
#include "shell/posix/settings_ini.h"
#include "shell/shell_texts.h"

namespace tarvik {

namespace {

bool readIni(QIODevice& device, QSettings::SettingsMap& map) {
    const QByteArray text = device.readAll();
    for (const auto& [key, value] : parseSettingsIni(std::string_view(text.data(), text.size())))
        map.insert(QString::fromStdString(key), QString::fromStdString(value));
    return true;
}

bool writeIni(QIODevice& device, const QSettings::SettingsMap& map) {
    SettingsMap values;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        values[it.key().toStdString()] = it.value().toString().toStdString();
    const std::string text = writeSettingsIni(values);
    return device.write(text.data(), qint64(text.size())) == qint64(text.size());
}

QSettings::Format iniFormat() {
    static const QSettings::Format format = QSettings::registerFormat("conf", readIni, writeIni);
    return format;
}

// A decimal 32-bit integer, nothing else.
std::optional<std::int32_t> parseInt32(const std::string& text) {
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

} // namespace

std::string iniStorePath() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    QString base = configHome ? QString::fromLocal8Bit(configHome) : QString();
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + "/.config";
    return (base + "/Tarvik/Tarvik.conf").toStdString();
}

std::string iniGroupOf(std::string_view regKey) {
    std::string group;
    for (char c : regKey)
        group += c == '\\' ? '/' : c;
    while (group.starts_with('/'))
        group.erase(0, 1);
    while (group.ends_with('/'))
        group.pop_back();
    return group;
}

namespace {

// One access to the store: the file opened for this call only, positioned in the key's group.
class Access {
public:
    explicit Access(const TRegistryEdit& edit)
        : settings_(QString::fromStdString(iniStorePath()), iniFormat()) {
        settings_.beginGroup(QString::fromStdString(iniGroupOf(edit.RegKey)));
    }
    QSettings& operator*() { return settings_; }
    QSettings* operator->() { return &settings_; }

private:
    QSettings settings_;
};

QString qName(std::string_view name) {
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
}

} // namespace

bool TRegistryEdit::HasEntry(std::string_view name) {
    Access access(*this);
    return access->contains(qName(name));
}

std::int32_t TRegistryEdit::LoadInt(std::string_view name, std::int32_t defaultValue) {
    Access access(*this);
    if (!access->contains(qName(name)))
        return defaultValue;
    const std::string stored = access->value(qName(name)).toString().toStdString();
    if (const auto value = parseInt32(stored))
        return *value;
    throw UserError(
        fillIn(pick(texts::kSettingWrongType, textLanguage()), name, location(), stored));
}

void TRegistryEdit::StoreInt(std::string_view name, std::int32_t value) {
    Access access(*this);
    access->setValue(qName(name), value);
    access->sync();
    if (access->status() == QSettings::NoError)
        return;
    const LangText& reason = access->status() == QSettings::AccessError
                                 ? texts::kSettingsNoWriteAccess
                                 : texts::kSettingsFileDamaged;
    throw UserError(fillIn(pick(texts::kSettingNotStored, textLanguage()), name, location(),
                           pick(reason, textLanguage())));
}

std::string TRegistryEdit::location() const {
    return iniStorePath();
}

} // namespace tarvik
