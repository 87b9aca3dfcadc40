// TRegistryEdit over QSettings with the readable INI format of settings_ini.h. QSettings
// brings the safe write (a temporary file renamed over the old one) and the file locking.
#include "shell/registry_edit.h"

#include <QByteArray>
#include <QDir>
#include <QIODevice>
#include <QSettings>

#include <charconv>
#include <cstdlib>
#include <optional>

#include "common/lang_text.h"
#include "common/user_error.h"
#include "shell/settings_ini.h"

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

constexpr LangText kWrongType{
    "Falscher Datentyp für „%1“ in %2: erwartet wird eine 32-Bit-Ganzzahl, gespeichert ist „%3“.",
    "Wrong data type for \"%1\" in %2: a 32-bit integer is expected, the file holds \"%3\".",
    "Неверный тип данных для «%1» в %2: ожидается 32-битное целое число, в файле «%3».",
};
constexpr LangText kWriteFailed{
    "Die Einstellung „%1“ kann nicht in %2 gespeichert werden: %3.",
    "Cannot store the setting \"%1\" in %2: %3.",
    "Не удалось сохранить параметр «%1» в %2: %3.",
};
constexpr LangText kNoAccess{"kein Schreibzugriff", "no write access", "нет доступа на запись"};
constexpr LangText kBadFormat{"die Datei ist beschädigt", "the file is damaged", "файл повреждён"};

} // namespace

std::string TRegistryEdit::storePath() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    QString base = configHome ? QString::fromLocal8Bit(configHome) : QString();
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + "/.config";
    return (base + "/Tarvik/Tarvik.conf").toStdString();
}

std::string TRegistryEdit::groupOf(std::string_view regKey) {
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
        : settings_(QString::fromStdString(TRegistryEdit::storePath()), iniFormat()) {
        settings_.beginGroup(QString::fromStdString(TRegistryEdit::groupOf(edit.RegKey)));
    }
    QSettings& operator*() { return settings_; }
    QSettings* operator->() { return &settings_; }

private:
    QSettings settings_;
};

QString qName(std::string_view name) {
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
}

// Fills %1..%3 in one pass, so a name or a path holding "%2" stays as it is.
std::string format(std::string_view pattern, const QString& a1, const QString& a2,
                   const QString& a3) {
    return qName(pattern).arg(a1, a2, a3).toStdString();
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
    const std::uint8_t lang = Language ? Language() : 1;
    throw UserError(format(pick(kWrongType, lang), qName(name), QString::fromStdString(storePath()),
                           QString::fromStdString(stored)));
}

bool TRegistryEdit::LoadBool(std::string_view name, bool defaultValue) {
    return LoadInt(name, defaultValue ? 1 : 0) != 0;
}

void TRegistryEdit::StoreInt(std::string_view name, std::int32_t value) {
    Access access(*this);
    access->setValue(qName(name), value);
    access->sync();
    if (access->status() == QSettings::NoError)
        return;
    const std::uint8_t lang = Language ? Language() : 1;
    const LangText& reason = access->status() == QSettings::AccessError ? kNoAccess : kBadFormat;
    throw UserError(format(pick(kWriteFailed, lang), qName(name),
                           QString::fromStdString(storePath()), qName(pick(reason, lang))));
}

void TRegistryEdit::StoreBool(std::string_view name, bool value) {
    StoreInt(name, value ? 1 : 0);
}

} // namespace tarvik
