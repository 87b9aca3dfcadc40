// TRegistryEdit in the Windows registry: each value is a REG_DWORD named as the setting, under
// RegKey in the hive RootKey selects. Each call opens the key for its one access and closes it.
#include "shell/registry_edit.h"

#include <windows.h>

#include <QString>

#include <cstdint>
#include <string>

#include "common/user_error.h"
#include "shell/shell_texts.h"

namespace tarvik {

namespace {

struct Hive {
    TRootKey root;
    HKEY handle;
    const char* name;
};

// In the order of TRootKey.
const Hive kHives[] = {
    {rkAllUsers, HKEY_USERS, "HKEY_USERS"},
    {rkCurrentUser, HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
    {rkLocalMachine, HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
    {rkClassesRoot, HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},
    {rkCurrentConfig, HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"},
    {rkDynData, HKEY_DYN_DATA, "HKEY_DYN_DATA"},
};

struct TypeName {
    DWORD type;
    const char* name;
};

const TypeName kTypeNames[] = {
    {REG_NONE, "REG_NONE"},
    {REG_SZ, "REG_SZ"},
    {REG_EXPAND_SZ, "REG_EXPAND_SZ"},
    {REG_BINARY, "REG_BINARY"},
    {REG_DWORD, "REG_DWORD"},
    {REG_DWORD_BIG_ENDIAN, "REG_DWORD_BIG_ENDIAN"},
    {REG_LINK, "REG_LINK"},
    {REG_MULTI_SZ, "REG_MULTI_SZ"},
    {REG_RESOURCE_LIST, "REG_RESOURCE_LIST"},
    {REG_FULL_RESOURCE_DESCRIPTOR, "REG_FULL_RESOURCE_DESCRIPTOR"},
    {REG_RESOURCE_REQUIREMENTS_LIST, "REG_RESOURCE_REQUIREMENTS_LIST"},
    {REG_QWORD, "REG_QWORD"},
};

std::string typeName(DWORD type) {
    for (const TypeName& known : kTypeNames) {
        if (known.type == type)
            return known.name;
    }
    return std::to_string(type);
}

const Hive& hiveOf(TRootKey root) {
    return kHives[root];
}

// The key path below the hive: RegKey without the backslashes at its ends.
std::wstring keyPath(const std::string& regKey) {
    QString path = QString::fromStdString(regKey);
    while (path.startsWith(u'\\'))
        path.remove(0, 1);
    while (path.endsWith(u'\\'))
        path.chop(1);
    return path.toStdWString();
}

std::wstring wide(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size())).toStdWString();
}

// An open registry key, closed when it goes.
class Key {
public:
    // Opens the key for reading; false when it is missing or not readable.
    bool open(const TRegistryEdit& edit) {
        return RegOpenKeyExW(hiveOf(edit.RootKey).handle, keyPath(edit.RegKey).c_str(), 0,
                             KEY_QUERY_VALUE, &key_) == ERROR_SUCCESS;
    }
    // Opens the key for writing, creating it and its missing parents; the error code.
    LSTATUS create(const TRegistryEdit& edit) {
        return RegCreateKeyExW(hiveOf(edit.RootKey).handle, keyPath(edit.RegKey).c_str(), 0,
                               nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key_,
                               nullptr);
    }
    ~Key() {
        if (key_)
            RegCloseKey(key_);
    }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

} // namespace

std::string TRegistryEdit::location() const {
    const QString path = QString::fromStdWString(keyPath(RegKey));
    return std::string(hiveOf(RootKey).name) + '\\' + path.toStdString();
}

bool TRegistryEdit::HasEntry(std::string_view name) {
    Key key;
    return key.open(*this) && RegQueryValueExW(key.get(), wide(name).c_str(), nullptr, nullptr,
                                               nullptr, nullptr) == ERROR_SUCCESS;
}

std::int32_t TRegistryEdit::LoadInt(std::string_view name, std::int32_t defaultValue) {
    Key key;
    if (!key.open(*this))
        return defaultValue;
    DWORD type = REG_NONE;
    DWORD value = 0;
    DWORD size = sizeof value;
    const LSTATUS status = RegQueryValueExW(key.get(), wide(name).c_str(), nullptr, &type,
                                            reinterpret_cast<BYTE*>(&value), &size);
    if (status == ERROR_FILE_NOT_FOUND)
        return defaultValue;
    // A REG_DWORD always fits; anything else, or a DWORD of the wrong length, is another type.
    if (status == ERROR_SUCCESS && type == REG_DWORD && size == sizeof value)
        return std::int32_t(value);
    throw UserError(fillIn(pick(texts::kSettingWrongTypeInRegistry, textLanguage()), name,
                           location(), typeName(type)));
}

void TRegistryEdit::StoreInt(std::string_view name, std::int32_t value) {
    Key key;
    LSTATUS status = key.create(*this);
    if (status == ERROR_SUCCESS) {
        const DWORD stored = DWORD(value);
        status = RegSetValueExW(key.get(), wide(name).c_str(), 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&stored), sizeof stored);
    }
    if (status == ERROR_SUCCESS)
        return;
    const std::uint8_t lang = textLanguage();
    const std::string_view errorText = pick(texts::kSettingsWindowsError, lang);
    const std::string reason =
        status == ERROR_ACCESS_DENIED
            ? std::string(pick(texts::kSettingsNoWriteAccess, lang))
            : QString::fromUtf8(errorText.data(), qsizetype(errorText.size()))
                  .arg(status)
                  .toStdString();
    throw UserError(fillIn(pick(texts::kSettingNotStored, lang), name, location(), reason));
}

} // namespace tarvik
