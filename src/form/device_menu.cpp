// The Device menu: one routine applies a chip entry of the catalogue; each entry's click
// handler names its entry. Also the common reset every selection starts from.
#include <array>
#include <stdexcept>
#include <string>

#include "chips/device_menu.h"
#include "chips/identification.h"
#include "form/main_form.h"
#include "form/main_menu.h"

namespace tarvik {

namespace {

using F = TMainForm;

constexpr std::array kEepromItems{&F::nprogeeprom, &F::nreadeeprom};
constexpr std::array kEepromButtons{&F::bprogeeprom, &F::breadeeprom};

chips::FuseLayout layoutOf(chips::FusePreset preset) {
    switch (preset) {
    case chips::FusePreset::LockPair:
        return chips::FuseLayout::LockPair;
    case chips::FusePreset::Socket:
        return chips::FuseLayout::Socket;
    case chips::FusePreset::None:
        break;
    }
    return chips::FuseLayout::Untouched;
}

} // namespace

void TMainForm::ResetChipSelection() {
    NotifyOnExit notify(*this);
    FuseList.items.clear();
    ChipFuseMarks.reset();
    bLoesch.enabled = true;
    nLoesch.enabled = true;
    IsSerialEeprom = false;
    IsSocketMcu = false;
    IsAvrIsp = false;
    IsPic = false;
    Verlauf.lines.clear();
    ++Verlauf.clears;
    AutoDevice.text.clear();
    for (auto item : kEepromItems)
        (this->*item).enabled = false;
    for (auto button : kEepromButtons)
        (this->*button).enabled = false;
    nWritefuse.enabled = false;
    bWriteFuse.enabled = false;
    bDetectDevice.enabled = false;
    nDetectDevice.enabled = false;
    // Every chip entry (the separator among the socket families included) loses its mark.
    menu::forEachMenuEntry([this](const menu::MenuEntry& entry) {
        if (entry.radioGroup == menu::RadioGroup::Chips) {
            (this->*entry.item).checked = false;
            (this->*entry.item).radioItem = true;
        }
    });
}

void TMainForm::EnableEepromActions() {
    NotifyOnExit notify(*this);
    nreadeeprom.enabled = true;
    breadeeprom.enabled = true;
    if (Hexeditor.ByteCount() > 0) {
        nprogeeprom.enabled = true;
        bprogeeprom.enabled = true;
    }
}

void TMainForm::selectDevice(std::string_view name) {
    NotifyOnExit notify(*this);
    const chips::DeviceEntry* entry = chips::findDeviceEntry(name);
    const menu::MenuEntry* menuEntry = menu::findMenuEntry(name);
    if (entry == nullptr || menuEntry == nullptr)
        throw std::logic_error("no Device menu entry " + std::string(name));

    Device.text = entry->deviceText;
    ResetChipSelection();
    (this->*menuEntry->item).checked = true;

    switch (entry->kind) {
    case chips::DeviceKind::SocketMcu:
        IsSocketMcu = true;
        break;
    case chips::DeviceKind::AvrIsp:
        IsAvrIsp = true;
        break;
    case chips::DeviceKind::SerialEeprom:
        EepromSizeCode = entry->eepromSizeCode;
        EepromPageSize = entry->eepromPageSize;
        IsSerialEeprom = true;
        CodeSize.text = entry->codeSize;
        break;
    case chips::DeviceKind::Pic:
        if (entry->setsIsPic) {
            IsPic = true;
            bLoesch.enabled = false;
            nLoesch.enabled = false;
        }
        break;
    }
    for (const chips::FuseListEntry& fuse : chips::fuseListLayout(layoutOf(entry->fusePreset)))
        FuseList.items.push_back(CheckListItem{std::string(fuse.text), false, !fuse.locked});
    if (entry->kind == chips::DeviceKind::SocketMcu || entry->kind == chips::DeviceKind::AvrIsp) {
        bDetectDevice.enabled = true;
        nDetectDevice.enabled = true;
    }
    if (entry->enableEepromActions)
        EnableEepromActions();
}

void TMainForm::n89Cx051Click() {
    selectDevice("n89Cx051");
}
void TMainForm::n89C5xClick() {
    selectDevice("n89C5x");
}
void TMainForm::n89SxxClick() {
    selectDevice("n89Sxx");
}
void TMainForm::N90S1200Click() {
    selectDevice("N90S1200");
}
void TMainForm::nAVRISPClick() {
    selectDevice("nAVRISP");
}
void TMainForm::N24AA00Click() {
    selectDevice("N24AA00");
}
void TMainForm::N24AA01Click() {
    selectDevice("N24AA01");
}
void TMainForm::N24C01CClick() {
    selectDevice("N24C01C");
}
void TMainForm::N24AA02Click() {
    selectDevice("N24AA02");
}
void TMainForm::N24C02CClick() {
    selectDevice("N24C02C");
}
void TMainForm::N24C04AClick() {
    selectDevice("N24C04a");
}
void TMainForm::N24AA04Click() {
    selectDevice("N24AA04");
}
void TMainForm::N24AA08Click() {
    selectDevice("N24AA08");
}
void TMainForm::N24AA16Click() {
    selectDevice("N24AA16");
}
void TMainForm::N24aa32Click() {
    selectDevice("N24aa32");
}
void TMainForm::N24AA64Click() {
    selectDevice("N24AA64");
}
void TMainForm::N24AA128Click() {
    selectDevice("N24AA128");
}
void TMainForm::n24AA256Click() {
    selectDevice("n24AA256");
}
void TMainForm::N24AA512Click() {
    selectDevice("N24AA512");
}
void TMainForm::N12C508Click() {
    selectDevice("N12C508");
}
void TMainForm::n12C508aClick() {
    selectDevice("n12C508a");
}
void TMainForm::n12c509Click() {
    selectDevice("n12c509");
}
void TMainForm::N12C509AClick() {
    selectDevice("N12C509A");
}
void TMainForm::N12CE518Click() {
    selectDevice("N12CE518");
}
void TMainForm::N12CE519Click() {
    selectDevice("N12CE519");
}
void TMainForm::N16C54Click() {
    selectDevice("N16C54");
}
void TMainForm::N16C56Click() {
    selectDevice("N16C56");
}
void TMainForm::N16C84Click() {
    selectDevice("N16C84");
}
void TMainForm::N16F83Click() {
    selectDevice("N16F83");
}
void TMainForm::N16F84Click() {
    selectDevice("N16F84");
}

} // namespace tarvik
