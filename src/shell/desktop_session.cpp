// Setting up and tearing down one run of the desktop program.
#include "shell/desktop_session.h"

#include "chips/home_entries.h"
#include "chips/identification.h"
#include "common/user_error.h"
#include "emulator/virtual_programmer.h"
#include "link/open_backend.h"
#include "shell/info_form.h"
#include "shell/main_window.h"
#include "shell/qt_dispatcher.h"
#include "shell/registry_edit.h"
#include "shell/shell_texts.h"

namespace tarvik {

// The settings belong to the user: a program running without elevation may not write the
// machine-wide hive, where the settings would silently never be kept. Values an earlier version
// left there are the starting point of a user who has none yet.
std::unique_ptr<SettingsStore> desktopSettings() {
    auto registry = std::make_unique<TRegistryEdit>();
    registry->RootKey = rkCurrentUser;
    registry->RegKey = "\\software\\Tarvik\\";
    registry->TakeOverFrom(rkLocalMachine);
    return registry;
}

namespace {

// The "Last Device" index of the entry the virtual chip is programmed through, found as the
// client would find it: a microcontroller by the signature it shows, a serial EEPROM by its
// size and write page. None for a chip no entry fits (an empty socket, a locked or unknown chip).
std::optional<std::int32_t> homeDeviceIndex(const emulator::VirtualChip& chip) {
    const chips::DeviceEntry* entry = nullptr;
    if (chip.kind == emulator::ChipKind::SerialEeprom) {
        entry = chips::serialEepromEntry(chip.memorySize, chip.eepromPage);
    } else if (chip.kind == emulator::ChipKind::Microcontroller) {
        const auto signature = emulator::ChipState(chip).readSignature();
        const chips::ChipIdentity identity =
            chips::identify(signature[0], signature[1], signature[2]);
        if (identity.named)
            entry = chips::homeEntry(identity.name);
    }
    if (entry == nullptr)
        return std::nullopt;
    return entry->lastDeviceIndex;
}

} // namespace

std::string unknownVirtualChipText(const std::string& name, std::uint8_t languageCode) {
    std::string known;
    for (const emulator::VirtualChip& chip : emulator::virtualChips()) {
        if (!known.empty())
            known += ' ';
        known += chip.name;
    }
    return fillIn(pick(texts::kUnknownVirtualChip, languageCode), {name, known});
}

DesktopSession::DesktopSession(const ProgramOptions& options,
                               std::unique_ptr<SettingsStore> settings, Latency latency)
    : dispatcher_(std::make_unique<QtDispatcher>()),
      settings_(settings ? std::move(settings) : desktopSettings()) {
    // Until the window applies the stored language, texts follow the settings.
    const auto language = [this] { return storedLanguageCode(*settings_); };
    switch (options.programmer) {
    case ProgramOptions::Programmer::Emulated: {
        const emulator::VirtualChip* chip = emulator::findVirtualChip(options.chip);
        if (!chip)
            throw UserError(unknownVirtualChipText(options.chip, language()));
        programmer = std::make_shared<emulator::VirtualProgrammer>(*chip);
        auto bus = std::make_unique<EmulatedBackend>(*dispatcher_);
        programmerPlug = bus->plug(programmer, latency);
        emulatedBus_ = bus.get();
        backend_ = std::move(bus);
        break;
    }
    case ProgramOptions::Programmer::Socket:
        backend_ =
            openBackend({BackendChoice::Kind::Socket, nullptr, options.socketPath}, *dispatcher_);
        if (!backend_)
            throw UserError(std::string(pick(texts::kNoSocketSupport, language())));
        break;
    case ProgramOptions::Programmer::Usb:
        backend_ = openBackend({}, *dispatcher_);
        if (!backend_)
            throw UserError(std::string(pick(texts::kNoUsbSupport, language())));
        break;
    }
    controller_ = std::make_unique<THidDeviceController>(*backend_, *dispatcher_);

    window_ = std::make_unique<MainWindow>(*controller_, *settings_);
    // The virtual programmer's chip is known: a first start selects the entry it is reached by.
    if (const auto home = programmer ? homeDeviceIndex(programmer->chip()) : std::nullopt)
        window_->form().firstStartDevice = *home;
    dispatcher_->onError = [this](std::string_view text) { window_->showApplicationError(text); };
    // Until the stored language is applied, a settings error follows the language the file
    // asks for; from then on the window's.
    window_->call(&TMainForm::FormCreate);
    if (auto* registry = dynamic_cast<TRegistryEdit*>(settings_.get()))
        registry->Language = [this] { return window_->form().LanguageCode; };
    window_->renderNow();

    infoForm_ = std::make_unique<TInfoForm>();
    window_->setInfoForm(infoForm_.get());
}

DesktopSession::~DesktopSession() {
    window_->setInfoForm(nullptr);
    infoForm_.reset();
    window_.reset();
    controller_.reset();
    backend_.reset();
    settings_.reset();
}

} // namespace tarvik
