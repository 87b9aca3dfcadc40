// The parts of TRegistryEdit that are the same on every system.
#include "shell/registry_edit.h"

#include <QString>

#include <optional>

#include "common/user_error.h"

namespace tarvik {

namespace {

QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

bool TRegistryEdit::LoadBool(std::string_view name, bool defaultValue) {
    return LoadInt(name, defaultValue ? 1 : 0) != 0;
}

void TRegistryEdit::StoreBool(std::string_view name, bool value) {
    StoreInt(name, value ? 1 : 0);
}

void TRegistryEdit::TakeOverFrom(TRootKey formerRoot) {
    TRegistryEdit former = *this;
    former.RootKey = formerRoot;
    try {
        for (std::string_view name : setting::kAll) {
            if (HasEntry(name))
                return;
        }
        for (std::string_view name : setting::kAll) {
            if (!former.HasEntry(name))
                continue;
            std::optional<std::int32_t> value;
            try {
                value = former.LoadInt(name, 0);
            } catch (const UserError&) {
                continue; // not a 32-bit integer: the start-up uses the default
            }
            StoreInt(name, *value);
        }
    } catch (const UserError&) {
        // The key can't be written: the start-up meets that again and reports it.
    }
}

std::uint8_t TRegistryEdit::textLanguage() const {
    if (Language)
        return Language();
    // The probe reports in English, so that a bad "Language" value can't recurse.
    TRegistryEdit probe = *this;
    probe.Language = [] { return std::uint8_t(1); };
    return storedLanguageCode(probe);
}

std::string TRegistryEdit::fillIn(std::string_view pattern, std::string_view a1,
                                  std::string_view a2, std::string_view a3) {
    return qText(pattern).arg(qText(a1), qText(a2), qText(a3)).toStdString();
}

} // namespace tarvik
