// Start-up and shut-down of the main window: the settings read in their fixed order, the stored
// language and chip entry applied, and the chip entry stored on close.
#include "chips/device_menu.h"
#include "common/user_error.h"
#include "form/main_form.h"
#include "form/main_menu.h"

namespace tarvik {

namespace {

constexpr bool kDefaultVerifyAfterProgram = true;
constexpr bool kDefaultUpdateBufferFromFile = true;
constexpr std::int32_t kDefaultLastDevice = 0;

// "Language" values: 1 German, 2 English, 3 Russian; 0 leaves the designed captions.
constexpr std::uint8_t kStoredEnglish = 2;

} // namespace

void TMainForm::storeSetting(std::string_view name, std::int32_t value) {
    try {
        RegistryEdit1.StoreInt(name, value);
    } catch (const UserError& error) {
        host_.showApplicationError(error.what());
    }
}

void TMainForm::storeFlag(std::string_view name, bool value) {
    try {
        RegistryEdit1.StoreBool(name, value);
    } catch (const UserError& error) {
        host_.showApplicationError(error.what());
    }
}

TMainForm::StoredValue TMainForm::loadSetting(std::string_view name, bool isFlag,
                                              std::int32_t& value) {
    try {
        if (!RegistryEdit1.HasEntry(name))
            return StoredValue::Absent;
        value =
            isFlag ? (RegistryEdit1.LoadBool(name, true) ? 1 : 0) : RegistryEdit1.LoadInt(name, 0);
        return StoredValue::Loaded;
    } catch (const UserError& error) {
        host_.showApplicationError(error.what());
        return StoredValue::Failed;
    }
}

bool TMainForm::startupFlag(std::string_view name, bool defaultValue) {
    std::int32_t value = 0;
    switch (loadSetting(name, true, value)) {
    case StoredValue::Loaded:
        return value != 0;
    case StoredValue::Absent:
        storeFlag(name, defaultValue);
        break;
    case StoredValue::Failed:
        break;
    }
    return defaultValue;
}

void TMainForm::applyStoredLanguage() {
    std::int32_t value = 0;
    if (loadSetting(setting::kLanguage, false, value) != StoredValue::Loaded) {
        sEnglishClick(); // stores its value itself
        return;
    }
    std::uint8_t stored = static_cast<std::uint8_t>(value & 0xFF);
    if (stored > 3)
        stored = kStoredEnglish;
    switch (stored) {
    case 1:
        sDeutschClick();
        break;
    case 2:
        sEnglishClick();
        break;
    case 3:
        sFranceClick();
        break;
    default: // 0: the designed captions stay, no language entry is marked
        break;
    }
}

void TMainForm::applyStoredDevice() {
    std::int32_t value = firstStartDevice;
    if (loadSetting(setting::kLastDevice, false, value) == StoredValue::Absent)
        storeSetting(setting::kLastDevice, firstStartDevice);
    const int index = value & 0xFF;
    for (const chips::DeviceEntry& entry : chips::deviceEntries()) {
        if (entry.lastDeviceIndex != index)
            continue;
        if (const menu::MenuEntry* menuEntry = menu::findMenuEntry(entry.name);
            menuEntry != nullptr && menuEntry->handler != nullptr) {
            (this->*menuEntry->item).checked = true;
            (this->*menuEntry->handler)();
            return;
        }
    }
    // No entry carries that index (the separator's 3, anything above 19).
    n89Cx051Click();
}

void TMainForm::FormCreate() {
    NotifyOnExit notify(*this);
    ProtocolState = stIdle;
    nverifynachprogrammieren.checked =
        startupFlag(setting::kVerifyAfterProgram, kDefaultVerifyAfterProgram);
    updatebuffer.checked =
        startupFlag(setting::kUpdateBufferFromFile, kDefaultUpdateBufferFromFile);
    applyStoredLanguage();
    applyStoredDevice();
    if (ProgrammerDevice == nullptr)
        showProgrammerMissing(); // in the language just applied
}

void TMainForm::FormClose() {
    NotifyOnExit notify(*this);
    if (jobRunning_)
        abandonJob();
    // A Microchip entry has no index: 0 brings up the first socket family next time.
    std::int32_t index = kDefaultLastDevice;
    for (const chips::DeviceEntry& entry : chips::deviceEntries()) {
        const menu::MenuEntry* menuEntry = menu::findMenuEntry(entry.name);
        if (entry.lastDeviceIndex >= 0 && menuEntry != nullptr &&
            (this->*menuEntry->item).checked) {
            index = entry.lastDeviceIndex;
            break;
        }
    }
    storeSetting(setting::kLastDevice, index);
}

} // namespace tarvik
