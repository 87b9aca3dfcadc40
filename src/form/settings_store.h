// The settings the window keeps between runs, as four named 32-bit integer values. The
// desktop's store (TRegistryEdit) and the in-memory store used by tests and the command-line
// tool implement this; each call is one complete access.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tarvik {

namespace setting {
constexpr std::string_view kVerifyAfterProgram = "Verify after program";
constexpr std::string_view kUpdateBufferFromFile = "Update buffer from file";
constexpr std::string_view kLanguage = "Language";
constexpr std::string_view kLastDevice = "Last Device";
// The four, in the order the start-up reads them.
constexpr std::string_view kAll[] = {kVerifyAfterProgram, kUpdateBufferFromFile, kLanguage,
                                     kLastDevice};
} // namespace setting

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual bool HasEntry(std::string_view name) = 0;
    // A stored value of another type than a 32-bit integer throws UserError.
    virtual std::int32_t LoadInt(std::string_view name, std::int32_t defaultValue) = 0;
    virtual bool LoadBool(std::string_view name, bool defaultValue) = 0; // any value but 0 is true
    virtual void StoreInt(std::string_view name,
                          std::int32_t value) = 0; // throws UserError on failure
    virtual void StoreBool(std::string_view name, bool value) = 0;
};

// The language code (0 German, 1 English, 2 Russian) a stored "Language" value asks for, for
// the texts written before the window has applied it: 1, 2 and 3 (the low byte counting) as at
// start-up, 0 German as the window's designed state, English for nothing stored or above 3.
std::uint8_t languageCodeOfStored(std::optional<std::int32_t> stored);
// The same, read from a store; a value of the wrong type counts as nothing stored.
std::uint8_t storedLanguageCode(SettingsStore& settings);

// Settings held in memory: for tests and the command-line tool, which stores nothing on disk.
// A value may be set to a string to stand for a value of the wrong type; its error follows the
// stored language.
class MemorySettings : public SettingsStore {
public:
    using Value = std::variant<std::int32_t, std::string>;
    std::map<std::string, Value, std::less<>> values;

    bool HasEntry(std::string_view name) override;
    std::int32_t LoadInt(std::string_view name, std::int32_t defaultValue) override;
    bool LoadBool(std::string_view name, bool defaultValue) override;
    void StoreInt(std::string_view name, std::int32_t value) override;
    void StoreBool(std::string_view name, bool value) override;
};

} // namespace tarvik
