// The window as designed: every control's caption, enabled, checked and visible state before
// the settings, the language and the chip selection are applied at start-up.
#include <array>
#include <string>
#include <string_view>

#include "buffer/buffer_texts.h"
#include "buffer/intel_hex.h"
#include "chips/device_menu.h"
#include "form/captions.h"
#include "form/main_form.h"
#include "form/main_menu.h"

namespace tarvik {

namespace {

using F = TMainForm;

struct FixedCaption {
    MenuItem TMainForm::*item;
    std::string_view caption;
};

// Menu captions that are the same in every language (the chip entries' own captions come from
// the Device menu catalogue, separators read "-").
constexpr std::array kFixedMenuCaptions{
    FixedCaption{&F::nsocket, "Socket"},
    FixedCaption{&F::nAtmelSocket, "Atmel MCU"},
    FixedCaption{&F::nSerialEeprom, "serial EEPROM"},
    FixedCaption{&F::nisp, "ISP Connector"},
    FixedCaption{&F::nPicIsp, "Microchip MCU"},
    FixedCaption{&F::Sprache1, "Выбор языка"},
    FixedCaption{&F::sDeutsch, "Deutsch"},
    FixedCaption{&F::sEnglish, "English"},
    FixedCaption{&F::sFrance, "Russian"},
};

constexpr std::array kDisabledAtDesign{
    &F::nsave, &F::nUndo, &F::nRedo, &F::nprogflash, &F::nverifyflash, &F::nAbort,
};
constexpr std::array kDisabledButtonsAtDesign{
    &F::bProg,
    &F::bVergl,
    &F::bAuslesen,
    &F::bLoesch,
};
constexpr std::array kHiddenAtDesign{&F::nAtmelSocket, &F::nPicIsp};

constexpr std::string_view kDefaultExt = "*.hex";

} // namespace

void TMainForm::initControls() {
    Caption = "Tarvik v 2.5";
    GBDevice.caption = "Чип:";
    Label1.caption = "Определен:";
    Label2.caption = "Размер (Байт):";
    Label3.caption.clear();

    menu::forEachMenuEntry([this](const menu::MenuEntry& entry) {
        MenuItem& item = this->*entry.item;
        item = MenuItem{.caption = entry.separator ? "-" : "",
                        .radioItem = entry.radioGroup != menu::RadioGroup::None};
    });
    for (const FixedCaption& row : kFixedMenuCaptions)
        (this->*row.item).caption = row.caption;
    for (const chips::DeviceEntry& entry : chips::deviceEntries()) {
        if (const menu::MenuEntry* menuEntry = menu::findMenuEntry(entry.name))
            (this->*menuEntry->item).caption = entry.caption;
    }
    for (const menu::ButtonEntry& entry : menu::kButtons)
        this->*entry.button = Button{};
    applyDesignedCaptions(*this);

    for (MenuItem TMainForm::*item : kDisabledAtDesign)
        (this->*item).enabled = false;
    for (Button TMainForm::*button : kDisabledButtonsAtDesign)
        (this->*button).enabled = false;
    for (MenuItem TMainForm::*item : kHiddenAtDesign)
        (this->*item).visible = false;

    OpenDialog1.defaultExt = kDefaultExt;
    SaveDialog1.defaultExt = kDefaultExt;
    ProtocolState = stIdle;
    Hexeditor.OnChange = [this] { HexeditorChange(); };
    Hexeditor.OnGrowthRefused = [this] {
        host_.showErrorBox(fillIn(pick(texts::kBufferFull, LanguageCode),
                                  {std::to_string(kMaxImageBytes / (1024 * 1024))}));
    };
}

} // namespace tarvik
