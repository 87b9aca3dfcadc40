// The in-memory settings store, and the language the stored settings ask for.
#include "form/settings_store.h"

#include "common/user_error.h"
#include "form/settings_texts.h"

namespace tarvik {

std::uint8_t languageCodeOfStored(std::optional<std::int32_t> stored) {
    constexpr std::uint8_t kEnglish = 1;
    if (!stored)
        return kEnglish;
    const int value = *stored & 0xFF;
    return value == 0 ? 0 : value <= 3 ? static_cast<std::uint8_t>(value - 1) : kEnglish;
}

std::uint8_t storedLanguageCode(SettingsStore& settings) {
    try {
        if (settings.HasEntry(setting::kLanguage))
            return languageCodeOfStored(settings.LoadInt(setting::kLanguage, 0));
    } catch (const UserError&) {
    }
    return languageCodeOfStored(std::nullopt);
}

namespace {

std::int32_t intValue(const MemorySettings& settings, const MemorySettings::Value& value,
                      std::string_view name) {
    if (const auto* number = std::get_if<std::int32_t>(&value))
        return *number;
    // The language straight from the map: asking LoadInt would fail again on a wrong "Language".
    const auto language = settings.values.find(setting::kLanguage);
    const auto* stored =
        language == settings.values.end() ? nullptr : std::get_if<std::int32_t>(&language->second);
    const std::uint8_t code =
        languageCodeOfStored(stored ? std::optional<std::int32_t>(*stored) : std::nullopt);
    throw UserError(fillIn(pick(texts::kSettingNotAnInteger, code), {name}));
}

} // namespace

bool MemorySettings::HasEntry(std::string_view name) {
    return values.find(name) != values.end();
}

std::int32_t MemorySettings::LoadInt(std::string_view name, std::int32_t defaultValue) {
    const auto found = values.find(name);
    return found == values.end() ? defaultValue : intValue(*this, found->second, name);
}

bool MemorySettings::LoadBool(std::string_view name, bool defaultValue) {
    const auto found = values.find(name);
    return found == values.end() ? defaultValue : intValue(*this, found->second, name) != 0;
}

void MemorySettings::StoreInt(std::string_view name, std::int32_t value) {
    values.insert_or_assign(std::string(name), value);
}

void MemorySettings::StoreBool(std::string_view name, bool value) {
    StoreInt(name, value ? 1 : 0);
}

} // namespace tarvik
