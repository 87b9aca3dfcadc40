// TRegistryEdit: the desktop's settings store. The values live in a per-user INI file,
// $XDG_CONFIG_HOME/Tarvik/Tarvik.conf (~/.config/Tarvik/Tarvik.conf when unset), under the
// section named after the key path ("\software\Tarvik\" → [software/Tarvik]). Every call opens
// the file, does its one access and closes it again, so another instance's writes are seen.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "form/settings_store.h"

namespace tarvik {

// The hives a key can be given under. There is one store per user on this system, so every
// root key selects the same file; the property is kept so the key reads as it was designed.
enum TRootKey {
    rkAllUsers,
    rkCurrentUser,
    rkLocalMachine,
    rkClassesRoot,
    rkCurrentConfig,
    rkDynData,
};

class TRegistryEdit : public SettingsStore {
public:
    TRootKey RootKey = rkCurrentUser;
    std::string RegKey; // "\software\Tarvik\": a leading "\" makes it absolute
    // The language of the error texts (0 German, 1 English, 2 Russian), asked at each failure.
    // Unset, the errors follow the language stored in the file (English when it can't say):
    // the window's language is not known until that setting has been read.
    std::function<std::uint8_t()> Language;

    bool HasEntry(std::string_view name) override;
    // Throws UserError when the stored value is not a 32-bit integer.
    std::int32_t LoadInt(std::string_view name, std::int32_t defaultValue) override;
    bool LoadBool(std::string_view name, bool defaultValue) override;
    // Throws UserError when the file can't be written.
    void StoreInt(std::string_view name, std::int32_t value) override;
    void StoreBool(std::string_view name, bool value) override;

    // The file every access goes to, from the environment at the moment of the call.
    static std::string storePath();
    // The INI section a key path maps to: "\software\Tarvik\" → "software/Tarvik".
    static std::string groupOf(std::string_view regKey);
};

} // namespace tarvik
