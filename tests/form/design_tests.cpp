// The window as designed, and the menu tree a view builds its menus from.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "chips/device_menu.h"
#include "form/main_menu.h"
#include "form_fixture.h"

namespace tarvik::test {
namespace {

// The window right after construction, before FormCreate (nothing plugged: the link's first
// search found no programmer and disabled the job controls; the designed state is what the
// rest shows).
TEST_F(FormTest, DesignedCaptionsAndStates) {
    EXPECT_EQ(form->Caption, "Tarvik v 2.5");
    EXPECT_EQ(form->GBDevice.caption, "Чип:");
    EXPECT_EQ(form->Label1.caption, "Определен:");
    EXPECT_EQ(form->Label2.caption, "Размер (Байт):");
    EXPECT_EQ(form->Label3.caption, "");
    EXPECT_EQ(form->ProtocolState, stIdle);

    const std::map<std::string, std::string> captions = {
        {"nDatei", "Файл"},
        {"nopen", "Открыть файл"},
        {"nsave", "Сохранить как ?"},
        {"nEnde", "выход"},
        {"nLoesch", "Loschen"},
        {"nprogeeprom", "EEPROM programmieren"},
        {"nsocket", "Socket"},
        {"nAtmelSocket", "Atmel MCU"},
        {"n89Cx051", "89Cx051 (автоопределение)"},
        {"N90S1200", "90S1200 / 90S2313 (автоопределение)"},
        {"nSerialEeprom", "serial EEPROM"},
        {"N24AA04", "24AA04 / 24LC04B"},
        {"nisp", "ISP Connector"},
        {"nAVRISP", "AVR (автоопределение)"},
        {"nPicIsp", "Microchip MCU"},
        {"n12C508a", "12C508A"},
        {"Sprache1", "Выбор языка"},
        {"sFrance", "Russian"},
        {"N4", "-"},
        {"N5", "-"},
        {"nWritefuse", "Fuse-/Lockbits schreiben"},
        {"nAbort", "Abbrechen"},
        {"nInfo", "Info"},
    };
    for (const auto& [name, caption] : captions) {
        const menu::MenuEntry* entry = menu::findMenuEntry(name);
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_EQ((form.get()->*entry->item).caption, caption) << name;
    }
    EXPECT_EQ(form->bLoesch.caption, "Loschen");
    EXPECT_EQ(form->bWriteFuse.caption, "Fuse schreiben");
    EXPECT_EQ(form->breadeeprom.caption, "EEPROM auslesen");

    // Design-time states of the menu table: only these differ from enabled, visible, unchecked.
    std::vector<std::string> disabled, hidden, checked;
    menu::forEachMenuEntry([&](const menu::MenuEntry& entry) {
        const MenuItem& item = form.get()->*entry.item;
        if (!item.visible)
            hidden.emplace_back(entry.name);
        if (item.checked)
            checked.emplace_back(entry.name);
        if (!item.enabled && entry.name != "nDatei" && entry.name != "nBuffer" &&
            entry.name != "nDevice" && entry.name != "nAuswahl") // closed: no programmer
            disabled.emplace_back(entry.name);
    });
    EXPECT_EQ(hidden, (std::vector<std::string>{"nAtmelSocket", "nPicIsp"}));
    EXPECT_TRUE(checked.empty());
    for (const char* name : {"nsave", "nUndo", "nRedo", "nprogflash", "nverifyflash", "nAbort"})
        EXPECT_NE(std::find(disabled.begin(), disabled.end(), name), disabled.end()) << name;

    for (const auto* dialog : {&form->OpenDialog1, &form->SaveDialog1})
        EXPECT_EQ(dialog->defaultExt, "*.hex");
    EXPECT_EQ(form->OpenDialog1.title, "Datei offnen:");
    EXPECT_EQ(form->SaveDialog1.title, "Datei speichern unter:");
    EXPECT_EQ(form->OpenDialog1.filter,
              "Hex-Dateien (*.hex)|*.hex|Binary-Dateien (*.bin)|*.bin|Alle Dateien (*.*)|*.*");
    EXPECT_EQ(form->SaveDialog1.filter, "Hex-Dateien (*.hex)|*.hex|Bin-Dateien (*.bin)|*.bin");
    EXPECT_TRUE(form->Hexeditor.ReadOnlyView());
    EXPECT_FALSE(form->Hexeditor.InsertMode());
}

TEST(MainMenu, TreeFollowsTheWindowsMenu) {
    std::vector<std::string> top;
    for (const menu::MenuEntry& entry : menu::kMainMenu)
        top.emplace_back(entry.name);
    EXPECT_EQ(top, (std::vector<std::string>{"nDatei", "nBuffer", "nDevice", "nAuswahl", "nSetup",
                                             "nInfo"}));

    auto childNames = [](std::string_view parent) {
        std::vector<std::string> names;
        for (const menu::MenuEntry& entry : menu::findMenuEntry(parent)->children)
            names.emplace_back(entry.name);
        return names;
    };
    EXPECT_EQ(childNames("nDatei"), (std::vector<std::string>{"nopen", "nsave", "N5", "nEnde"}));
    EXPECT_EQ(childNames("nBuffer"),
              (std::vector<std::string>{"nUndo", "nRedo", "neditbuffer", "N7", "updatebuffer"}));
    EXPECT_EQ(childNames("nAuswahl"),
              (std::vector<std::string>{"nprogflash", "nverifyflash", "nreadflash", "nLoesch",
                                        "nBlankCheck", "N3", "nprogeeprom", "nreadeeprom", "N6",
                                        "nDetectDevice", "nWritefuse", "N8", "nAbort"}));
    EXPECT_EQ(childNames("nSetup"),
              (std::vector<std::string>{"nverifynachprogrammieren", "N1", "Sprache1"}));
    EXPECT_EQ(childNames("nAtmelSocket"),
              (std::vector<std::string>{"n89Cx051", "n89C5x", "n89Sxx", "N4", "N90S1200"}));

    const std::map<std::string, std::string> shortcuts = {
        {"nopen", "Ctrl+O"}, {"nsave", "Ctrl+S"}, {"nEnde", "Ctrl+X"},
        {"nUndo", "Ctrl+U"}, {"nRedo", "Ctrl+R"}, {"nAbort", "Esc"},
    };
    std::map<std::string, std::string> found;
    int separators = 0;
    menu::forEachMenuEntry([&](const menu::MenuEntry& entry) {
        if (!entry.shortcut.empty())
            found[std::string(entry.name)] = entry.shortcut;
        separators += entry.separator;
        if (entry.separator || !entry.children.empty()) {
            EXPECT_EQ(entry.handler, nullptr) << entry.name;
        }
    });
    EXPECT_EQ(found, shortcuts);
    EXPECT_EQ(separators, 7); // N5, N7, N4, N3, N6, N8, N1

    EXPECT_EQ(menu::findMenuEntry("nWritefuse")->handler, nullptr);
    EXPECT_EQ(menu::findMenuEntry("nprogflash")->handler, &TMainForm::bProgClick);
    EXPECT_EQ(menu::findMenuEntry("nLoesch")->handler, &TMainForm::bLoeschClick);
    EXPECT_EQ(menu::findMenuEntry("nInfo")->handler, &TMainForm::nInfoClick);
    EXPECT_EQ(menu::findMenuEntry("sFrance")->radioGroup, menu::RadioGroup::Languages);
    EXPECT_EQ(menu::findMenuEntry("nothing"), nullptr);
}

TEST(MainMenu, ChipEntriesMatchTheDeviceCatalogue) {
    std::vector<std::string> inMenu;
    menu::forEachMenuEntry([&](const menu::MenuEntry& entry) {
        if (entry.radioGroup == menu::RadioGroup::Chips && !entry.separator)
            inMenu.emplace_back(entry.name);
    });
    std::vector<std::string> inCatalogue;
    for (const chips::DeviceEntry& entry : chips::deviceEntries())
        inCatalogue.emplace_back(entry.name);
    EXPECT_EQ(inMenu, inCatalogue);
}

TEST(MainMenu, ButtonsShareTheActionMenusHandlers) {
    const std::map<std::string, std::string> sharedWith = {
        {"bProg", "nprogflash"},
        {"bVergl", "nverifyflash"},
        {"bAuslesen", "nreadflash"},
        {"bLoesch", "nLoesch"},
        {"bDetectDevice", "nDetectDevice"},
        {"bprogeeprom", "nprogeeprom"},
        {"breadeeprom", "nreadeeprom"},
    };
    ASSERT_EQ(menu::kButtons.size(), 8u);
    for (const menu::ButtonEntry& button : menu::kButtons) {
        const auto shared = sharedWith.find(std::string(button.name));
        if (shared == sharedWith.end()) {
            EXPECT_EQ(button.name, "bWriteFuse");
            EXPECT_EQ(button.handler, &TMainForm::bWriteFuseClick);
            continue;
        }
        EXPECT_EQ(button.handler, menu::findMenuEntry(shared->second)->handler) << button.name;
    }
}

} // namespace
} // namespace tarvik::test
