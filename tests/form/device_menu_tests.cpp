// Chip selection through the Device menu handlers.
#include <string>
#include <vector>

#include "form/main_menu.h"
#include "form_fixture.h"

namespace tarvik::test {
namespace {

// The names of the chip entries that carry the check mark.
std::vector<std::string> checkedChipEntries(const TMainForm& form) {
    std::vector<std::string> names;
    menu::forEachMenuEntry([&](const menu::MenuEntry& entry) {
        if (entry.radioGroup == menu::RadioGroup::Chips && (form.*entry.item).checked)
            names.emplace_back(entry.name);
    });
    return names;
}

std::vector<std::string> fuseTexts(const TMainForm& form) {
    std::vector<std::string> texts;
    for (const CheckListItem& item : form.FuseList.items)
        texts.push_back(item.text);
    return texts;
}

struct SerialEepromCase {
    void (TMainForm::*click)();
    const char* entry;
    const char* deviceText;
    std::uint16_t sizeCode;
    std::int16_t pageSize;
    const char* codeSize;
};

const SerialEepromCase kSerialEeproms[] = {
    {&TMainForm::N24AA00Click, "N24AA00", "24AA00 / 24(L)C00", 0, 1, "16"},
    {&TMainForm::N24AA01Click, "N24AA01", "24AA01 / 24(L)C01B", 1, 8, "128"},
    {&TMainForm::N24C01CClick, "N24C01C", "24C01C", 1, 16, "128"},
    {&TMainForm::N24AA02Click, "N24AA02", "24AA02 / 24(L)C02B", 2, 8, "256"},
    {&TMainForm::N24C02CClick, "N24C02C", "24C02C", 2, 16, "256"},
    {&TMainForm::N24C04AClick, "N24C04a", "24C04A", 4, 8, "512"},
    {&TMainForm::N24AA04Click, "N24AA04", "24AA04 / 24(L)C04B", 4, 16, "512"},
    {&TMainForm::N24AA08Click, "N24AA08", "24AA08 / 24(L)C08B", 8, 16, "1024"},
    {&TMainForm::N24AA16Click, "N24AA16", "24AA16 / 24(L)C16B", 16, 16, "2048"},
    {&TMainForm::N24aa32Click, "N24aa32", "24AA32A / 24LC32A", 32, 32, "4096"},
    {&TMainForm::N24AA64Click, "N24AA64", "24AA64 / 24(L)C64", 64, 32, "8192"},
    {&TMainForm::N24AA128Click, "N24AA128", "24AA128/24(L/F)C128", 128, 64, "16384"},
    {&TMainForm::n24AA256Click, "n24AA256", "24AA256 / 24(L/F)C256", 129, 64, "32768"},
    {&TMainForm::N24AA512Click, "N24AA512", "24AA512 / 24(L/F)C512", 130, 128, "65536"},
};

TEST_F(FormTest, SerialEepromEntriesSetGeometryAndDisableChipActions) {
    plugProgrammer();
    form->nAVRISPClick(); // leaves detection and EEPROM reading enabled
    form->FuseList.items.push_back({"SPIEN", true, true});
    for (const SerialEepromCase& c : kSerialEeproms) {
        SCOPED_TRACE(c.entry);
        form->AutoDevice.text = "ATmega8";
        (form.get()->*c.click)();
        EXPECT_EQ(form->Device.text, c.deviceText);
        EXPECT_EQ(form->CodeSize.text, c.codeSize);
        EXPECT_EQ(form->EepromSizeCode, c.sizeCode);
        EXPECT_EQ(form->EepromPageSize, c.pageSize);
        EXPECT_TRUE(form->IsSerialEeprom);
        EXPECT_FALSE(form->IsAvrIsp || form->IsSocketMcu || form->IsPic);
        EXPECT_EQ(checkedChipEntries(*form), std::vector<std::string>{c.entry});
        EXPECT_TRUE(form->FuseList.items.empty());
        EXPECT_EQ(form->AutoDevice.text, "");
        EXPECT_FALSE(form->bDetectDevice.enabled || form->nDetectDevice.enabled);
        EXPECT_FALSE(form->nreadeeprom.enabled || form->breadeeprom.enabled);
        EXPECT_FALSE(form->nprogeeprom.enabled || form->bprogeeprom.enabled);
        EXPECT_FALSE(form->bWriteFuse.enabled || form->nWritefuse.enabled);
        EXPECT_TRUE(form->bLoesch.enabled && form->nLoesch.enabled);
    }
    // The 24AA04 entry's caption differs from the text it writes.
    EXPECT_EQ(form->N24AA04.caption, "24AA04 / 24LC04B");
    EXPECT_EQ(form->N24AA128.caption, "24AA128 / 24(L/F)C128");
}

TEST_F(FormTest, AvrIspAfterSerialEepromKeepsCodeSizeAndOffersEepromProgrammingOnlyWithData) {
    plugProgrammer();
    for (bool withData : {false, true}) {
        SCOPED_TRACE(withData ? "buffer with data" : "empty buffer");
        form->Hexeditor.SetAllBytes(withData ? HexBuffer::Bytes{1, 2, 3} : HexBuffer::Bytes{});
        form->N24AA512Click();
        form->Verlauf.lines.push_back("a line of the last job");
        form->AutoDevice.text = "24AA512";
        form->nAVRISPClick();
        EXPECT_EQ(form->Device.text, "AVR ISP (автоопределение)");
        EXPECT_TRUE(form->IsAvrIsp);
        EXPECT_FALSE(form->IsSerialEeprom);
        EXPECT_EQ(form->CodeSize.text, "65536");
        EXPECT_EQ(form->AutoDevice.text, "");
        EXPECT_TRUE(form->Verlauf.lines.empty());
        EXPECT_TRUE(form->FuseList.items.empty());
        EXPECT_TRUE(form->bDetectDevice.enabled && form->nDetectDevice.enabled);
        EXPECT_TRUE(form->nreadeeprom.enabled && form->breadeeprom.enabled);
        EXPECT_EQ(form->nprogeeprom.enabled, withData);
        EXPECT_EQ(form->bprogeeprom.enabled, withData);
        EXPECT_FALSE(form->bWriteFuse.enabled);
        EXPECT_EQ(checkedChipEntries(*form), std::vector<std::string>{"nAVRISP"});
    }
}

TEST_F(FormTest, SocketFamiliesPresetTheirFuseLists) {
    struct Case {
        void (TMainForm::*click)();
        const char* entry;
        const char* deviceText;
        std::vector<std::string> fuses;
        bool eepromActions;
    };
    const Case cases[] = {
        {&TMainForm::n89Cx051Click,
         "n89Cx051",
         "89Cx051 (autodetect)",
         {"Lock bit 1", "Lock bit 2"},
         false},
        {&TMainForm::n89C5xClick,
         "n89C5x",
         "89C5x (autodetect)",
         {"Lock bit 1", "Lock bit 2"},
         false},
        {&TMainForm::n89SxxClick, "n89Sxx", "89Sxx (autodetect)", {}, false},
        {&TMainForm::N90S1200Click,
         "N90S1200",
         "90S1200 / 90S2313 (autodetect)",
         {"Lock bit 1", "Lock bit 2", "SPIEN", "RCEN/FSTRT"},
         true},
    };
    plugProgrammer();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        form->N24AA01Click();
        form->ChipFuseMarks = std::vector<bool>(4, true);
        (form.get()->*c.click)();
        EXPECT_EQ(form->Device.text, c.deviceText);
        EXPECT_TRUE(form->IsSocketMcu);
        EXPECT_EQ(fuseTexts(*form), c.fuses);
        for (const CheckListItem& item : form->FuseList.items)
            EXPECT_FALSE(item.checked);
        // What the last chip's fuses were is forgotten: the next fuse write shows "not read".
        EXPECT_FALSE(form->ChipFuseMarks.has_value());
        EXPECT_TRUE(form->bDetectDevice.enabled && form->nDetectDevice.enabled);
        EXPECT_EQ(form->nreadeeprom.enabled, c.eepromActions);
        EXPECT_EQ(form->breadeeprom.enabled, c.eepromActions);
        EXPECT_EQ(checkedChipEntries(*form), std::vector<std::string>{c.entry});
    }
}

TEST_F(FormTest, MicrochipEntriesStartNothingAndEraseComesBackWithTheNextChip) {
    struct Case {
        void (TMainForm::*click)();
        const char* deviceText;
        bool isPic;
        bool eepromActions;
    };
    const Case cases[] = {
        {&TMainForm::N12C508Click, "12C508", true, false},
        {&TMainForm::n12C508aClick, "12C508A", true, false},
        {&TMainForm::N16C56Click, "16C56", true, false},
        {&TMainForm::N16C84Click, "16C84", true, true},
        {&TMainForm::N16F83Click, "16F83", false, true},
        {&TMainForm::N16F84Click, "16F84", false, true},
    };
    plugProgrammer();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.deviceText);
        (form.get()->*c.click)();
        EXPECT_EQ(form->Device.text, c.deviceText);
        EXPECT_EQ(form->IsPic, c.isPic);
        EXPECT_FALSE(form->IsSocketMcu || form->IsAvrIsp || form->IsSerialEeprom);
        EXPECT_EQ(form->bLoesch.enabled, !c.isPic);
        EXPECT_EQ(form->nLoesch.enabled, !c.isPic);
        EXPECT_EQ(form->nreadeeprom.enabled, c.eepromActions);
        EXPECT_FALSE(form->bDetectDevice.enabled);
        EXPECT_EQ(checkedChipEntries(*form).size(), 1u);
        form->EnableControls(); // as at the end of a job
        EXPECT_EQ(form->bLoesch.enabled, !c.isPic);
    }

    form->N12C508Click();
    form->N24AA01Click();
    EXPECT_TRUE(form->bLoesch.enabled && form->nLoesch.enabled);
    form->EnableControls();
    EXPECT_TRUE(form->bLoesch.enabled);
}

TEST_F(FormTest, EveryChipEntryOfTheMenuTreeRunsItsOwnSelection) {
    int chipEntries = 0;
    menu::forEachMenuEntry([&](const menu::MenuEntry& entry) {
        if (entry.radioGroup != menu::RadioGroup::Chips || entry.separator)
            return;
        SCOPED_TRACE(std::string(entry.name));
        ++chipEntries;
        ASSERT_NE(entry.handler, nullptr);
        (form.get()->*entry.handler)();
        EXPECT_EQ(checkedChipEntries(*form), std::vector<std::string>{std::string(entry.name)});
        EXPECT_TRUE((form.get()->*entry.item).radioItem);
        EXPECT_FALSE(form->Device.text.empty());
    });
    EXPECT_EQ(chipEntries, 30);
}

} // namespace
} // namespace tarvik::test
