// The in-memory settings store.
#include "form/settings_store.h"

#include "common/user_error.h"

namespace tarvik {

namespace {

std::int32_t intValue(const MemorySettings::Value& value, std::string_view name) {
    if (const auto* number = std::get_if<std::int32_t>(&value))
        return *number;
    throw UserError("The setting \"" + std::string(name) + "\" is not a 32-bit integer.");
}

} // namespace

bool MemorySettings::HasEntry(std::string_view name) {
    return values.find(name) != values.end();
}

std::int32_t MemorySettings::LoadInt(std::string_view name, std::int32_t defaultValue) {
    const auto found = values.find(name);
    return found == values.end() ? defaultValue : intValue(found->second, name);
}

bool MemorySettings::LoadBool(std::string_view name, bool defaultValue) {
    const auto found = values.find(name);
    return found == values.end() ? defaultValue : intValue(found->second, name) != 0;
}

void MemorySettings::StoreInt(std::string_view name, std::int32_t value) {
    values.insert_or_assign(std::string(name), value);
}

void MemorySettings::StoreBool(std::string_view name, bool value) {
    StoreInt(name, value ? 1 : 0);
}

} // namespace tarvik
