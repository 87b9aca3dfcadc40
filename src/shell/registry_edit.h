// TRegistryEdit: the desktop's settings store, named 32-bit integer values under one key. Where
// they live depends on the system: in the registry on Windows (windows/registry_edit_windows.cpp),
// in a per-user INI file elsewhere (posix/registry_edit_ini.cpp). Every call opens the store, does
// its one access and closes it again, so another instance's writes are seen.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "form/settings_store.h"

namespace tarvik {

// The hives a key can be given under. The INI store has one file per user, so there every root
// key selects the same file; the property is kept so the key reads as it was designed.
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
    // Throws UserError when the value can't be written.
    void StoreInt(std::string_view name, std::int32_t value) override;
    void StoreBool(std::string_view name, bool value) override;

    // When the key holds none of the window's settings yet, copies those found under the same
    // key of formerRoot, where earlier versions kept them; a value of another type stays
    // behind. Best effort: what can't be copied is left to the start-up, which stores the
    // defaults and reports a store that can't be written.
    void TakeOverFrom(TRootKey formerRoot);

    // Where the values live, as the error texts name it.
    std::string location() const;

private:
    // Language(), or until it is set, the language the stored settings ask for.
    std::uint8_t textLanguage() const;
    // Fills %1..%3 of one of the store's texts in one pass, so a name holding "%2" stays as it is.
    static std::string fillIn(std::string_view pattern, std::string_view a1, std::string_view a2,
                              std::string_view a3);
};

} // namespace tarvik
