// The main window's menu tree and its buttons as data: for every entry the name, the model
// member that holds its state, the handler it runs, its shortcut, whether it is a separator, its
// radio group and its children in order. The Qt view builds its menus and buttons from these
// tables; the model looks chip entries up by name here.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "form/main_form.h"

namespace tarvik::menu {

using ItemMember = MenuItem TMainForm::*;
using ButtonMember = Button TMainForm::*;
using Handler = void (TMainForm::*)();

// Entries of one radio group: exactly one of them carries the check mark.
enum class RadioGroup : int { None = 0, Chips = 1, Languages = 2 };

struct MenuEntry {
    std::string_view name;
    ItemMember item;
    Handler handler = nullptr; // none: a submenu, a separator, or an entry without an action
    std::string_view shortcut = {};
    // Further keys for the same entry, as other programs have taught users ("; " between).
    std::string_view moreShortcuts = {};
    bool separator = false;
    // Reachable while a job runs although its menu is closed then: the menu opens for it
    // alone.
    bool duringJob = false;
    RadioGroup radioGroup = RadioGroup::None;
    std::span<const MenuEntry> children = {};
};

struct ButtonEntry {
    std::string_view name;
    ButtonMember button;
    Handler handler;
};

namespace detail {

constexpr MenuEntry separator(std::string_view name, ItemMember item,
                              RadioGroup group = RadioGroup::None) {
    return {.name = name, .item = item, .separator = true, .radioGroup = group};
}
constexpr MenuEntry chip(std::string_view name, ItemMember item, Handler handler) {
    return {.name = name, .item = item, .handler = handler, .radioGroup = RadioGroup::Chips};
}

using F = TMainForm;

inline constexpr std::array kFile{
    MenuEntry{.name = "nopen", .item = &F::nopen, .handler = &F::nopenClick, .shortcut = "Ctrl+O"},
    MenuEntry{.name = "nsave", .item = &F::nsave, .handler = &F::nsaveClick, .shortcut = "Ctrl+S"},
    separator("N5", &F::N5),
    MenuEntry{.name = "nEnde", .item = &F::nEnde, .handler = &F::nEndeClick, .shortcut = "Ctrl+X"},
};

inline constexpr std::array kBuffer{
    MenuEntry{.name = "nUndo",
              .item = &F::nUndo,
              .handler = &F::nUndoClick,
              .shortcut = "Ctrl+U",
              .moreShortcuts = "Ctrl+Z"},
    MenuEntry{.name = "nRedo",
              .item = &F::nRedo,
              .handler = &F::nRedoClick,
              .shortcut = "Ctrl+R",
              .moreShortcuts = "Ctrl+Y; Ctrl+Shift+Z"},
    MenuEntry{.name = "neditbuffer", .item = &F::neditbuffer, .handler = &F::neditbufferClick},
    separator("N7", &F::N7),
    MenuEntry{.name = "updatebuffer", .item = &F::updatebuffer, .handler = &F::updatebufferClick},
};

// The separator among the socket families belongs to the chip group: selecting a chip clears
// its mark too.
inline constexpr std::array kAtmelSocket{
    chip("n89Cx051", &F::n89Cx051, &F::n89Cx051Click), chip("n89C5x", &F::n89C5x, &F::n89C5xClick),
    chip("n89Sxx", &F::n89Sxx, &F::n89SxxClick),       separator("N4", &F::N4, RadioGroup::Chips),
    chip("N90S1200", &F::N90S1200, &F::N90S1200Click),
};

inline constexpr std::array kSerialEeprom{
    chip("N24AA00", &F::N24AA00, &F::N24AA00Click),
    chip("N24AA01", &F::N24AA01, &F::N24AA01Click),
    chip("N24C01C", &F::N24C01C, &F::N24C01CClick),
    chip("N24AA02", &F::N24AA02, &F::N24AA02Click),
    chip("N24C02C", &F::N24C02C, &F::N24C02CClick),
    chip("N24C04a", &F::N24C04a, &F::N24C04AClick),
    chip("N24AA04", &F::N24AA04, &F::N24AA04Click),
    chip("N24AA08", &F::N24AA08, &F::N24AA08Click),
    chip("N24AA16", &F::N24AA16, &F::N24AA16Click),
    chip("N24aa32", &F::N24aa32, &F::N24aa32Click),
    chip("N24AA64", &F::N24AA64, &F::N24AA64Click),
    chip("N24AA128", &F::N24AA128, &F::N24AA128Click),
    chip("n24AA256", &F::n24AA256, &F::n24AA256Click),
    chip("N24AA512", &F::N24AA512, &F::N24AA512Click),
};

inline constexpr std::array kSocket{
    MenuEntry{.name = "nAtmelSocket", .item = &F::nAtmelSocket, .children = kAtmelSocket},
    MenuEntry{.name = "nSerialEeprom", .item = &F::nSerialEeprom, .children = kSerialEeprom},
};

inline constexpr std::array kPicIsp{
    chip("N12C508", &F::N12C508, &F::N12C508Click),
    chip("n12C508a", &F::n12C508a, &F::n12C508aClick),
    chip("n12c509", &F::n12c509, &F::n12c509Click),
    chip("N12C509A", &F::N12C509A, &F::N12C509AClick),
    chip("N12CE518", &F::N12CE518, &F::N12CE518Click),
    chip("N12CE519", &F::N12CE519, &F::N12CE519Click),
    chip("N16C54", &F::N16C54, &F::N16C54Click),
    chip("N16C56", &F::N16C56, &F::N16C56Click),
    chip("N16C84", &F::N16C84, &F::N16C84Click),
    chip("N16F83", &F::N16F83, &F::N16F83Click),
    chip("N16F84", &F::N16F84, &F::N16F84Click),
};

inline constexpr std::array kIsp{
    chip("nAVRISP", &F::nAVRISP, &F::nAVRISPClick),
    MenuEntry{.name = "nPicIsp", .item = &F::nPicIsp, .children = kPicIsp},
};

inline constexpr std::array kDevice{
    MenuEntry{.name = "nsocket", .item = &F::nsocket, .children = kSocket},
    MenuEntry{.name = "nisp", .item = &F::nisp, .children = kIsp},
};

inline constexpr std::array kAction{
    MenuEntry{.name = "nprogflash", .item = &F::nprogflash, .handler = &F::bProgClick},
    MenuEntry{.name = "nverifyflash", .item = &F::nverifyflash, .handler = &F::bVerglClick},
    MenuEntry{.name = "nreadflash", .item = &F::nreadflash, .handler = &F::bAuslesenClick},
    MenuEntry{.name = "nLoesch", .item = &F::nLoesch, .handler = &F::bLoeschClick},
    MenuEntry{.name = "nBlankCheck", .item = &F::nBlankCheck, .handler = &F::nBlankCheckClick},
    separator("N3", &F::N3),
    MenuEntry{.name = "nprogeeprom", .item = &F::nprogeeprom, .handler = &F::bprogeepromClick},
    MenuEntry{.name = "nreadeeprom", .item = &F::nreadeeprom, .handler = &F::breadeepromClick},
    separator("N6", &F::N6),
    MenuEntry{
        .name = "nDetectDevice", .item = &F::nDetectDevice, .handler = &F::bDetectDeviceClick},
    MenuEntry{.name = "nWritefuse", .item = &F::nWritefuse},
    separator("N8", &F::N8),
    MenuEntry{.name = "nAbort",
              .item = &F::nAbort,
              .handler = &F::nAbortClick,
              .shortcut = "Esc",
              .duringJob = true},
};

inline constexpr std::array kLanguages{
    MenuEntry{.name = "sDeutsch",
              .item = &F::sDeutsch,
              .handler = &F::sDeutschClick,
              .radioGroup = RadioGroup::Languages},
    MenuEntry{.name = "sEnglish",
              .item = &F::sEnglish,
              .handler = &F::sEnglishClick,
              .radioGroup = RadioGroup::Languages},
    MenuEntry{.name = "sFrance",
              .item = &F::sFrance,
              .handler = &F::sFranceClick,
              .radioGroup = RadioGroup::Languages},
};

inline constexpr std::array kSetup{
    MenuEntry{.name = "nverifynachprogrammieren",
              .item = &F::nverifynachprogrammieren,
              .handler = &F::nverifynachprogrammierenClick},
    separator("N1", &F::N1),
    MenuEntry{.name = "Sprache1", .item = &F::Sprache1, .children = kLanguages},
};

} // namespace detail

// The menu bar, left to right.
inline constexpr std::array kMainMenu{
    MenuEntry{.name = "nDatei", .item = &TMainForm::nDatei, .children = detail::kFile},
    MenuEntry{.name = "nBuffer", .item = &TMainForm::nBuffer, .children = detail::kBuffer},
    MenuEntry{.name = "nDevice", .item = &TMainForm::nDevice, .children = detail::kDevice},
    MenuEntry{.name = "nAuswahl", .item = &TMainForm::nAuswahl, .children = detail::kAction},
    MenuEntry{.name = "nSetup", .item = &TMainForm::nSetup, .children = detail::kSetup},
    MenuEntry{.name = "nInfo", .item = &TMainForm::nInfo, .handler = &TMainForm::nInfoClick},
};

// The eight buttons and the handlers they share with the Action menu.
inline constexpr std::array kButtons{
    ButtonEntry{"bProg", &TMainForm::bProg, &TMainForm::bProgClick},
    ButtonEntry{"bVergl", &TMainForm::bVergl, &TMainForm::bVerglClick},
    ButtonEntry{"bAuslesen", &TMainForm::bAuslesen, &TMainForm::bAuslesenClick},
    ButtonEntry{"bLoesch", &TMainForm::bLoesch, &TMainForm::bLoeschClick},
    ButtonEntry{"bDetectDevice", &TMainForm::bDetectDevice, &TMainForm::bDetectDeviceClick},
    ButtonEntry{"bWriteFuse", &TMainForm::bWriteFuse, &TMainForm::bWriteFuseClick},
    ButtonEntry{"bprogeeprom", &TMainForm::bprogeeprom, &TMainForm::bprogeepromClick},
    ButtonEntry{"breadeeprom", &TMainForm::breadeeprom, &TMainForm::breadeepromClick},
};

// The entry of that name anywhere in the tree, or nullptr.
const MenuEntry* findMenuEntry(std::string_view name);

// Calls visit(entry) for every entry of the tree, parents before their children.
template <typename Visit>
void forEachMenuEntry(Visit&& visit, std::span<const MenuEntry> entries = kMainMenu) {
    for (const MenuEntry& entry : entries) {
        visit(entry);
        forEachMenuEntry(visit, entry.children);
    }
}

} // namespace tarvik::menu
