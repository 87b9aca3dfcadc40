// Start-up and shut-down of the desktop program against the settings file: first start,
// stored values, a damaged value, closing, options stored the moment they change.
#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/user_error.h"
#include "emulator/virtual_chip.h"
#include "shell_fixtures.h"

using namespace tarvik;

namespace {

bool checked(MainWindow& window, std::string_view name) {
    return window.action(name)->isChecked();
}

} // namespace

TEST(Startup, FirstStartStoresEveryDefault) {
    TempSettings store;
    auto session = emulatedSession("none"); // an empty socket tells nothing of the chip
    MainWindow& window = session->window();
    EXPECT_EQ(window.windowTitle(), "Tarvik v 2.5");
    EXPECT_TRUE(checked(window, "nverifynachprogrammieren"));
    EXPECT_TRUE(checked(window, "updatebuffer"));
    EXPECT_TRUE(checked(window, "sEnglish"));
    EXPECT_EQ(window.button("bProg")->text(), "write");
    EXPECT_EQ(window.action("nDatei")->text(), "File");
    EXPECT_TRUE(checked(window, "n89Cx051"));
    EXPECT_EQ(window.Device->text(), "89Cx051 (autodetect)");
    EXPECT_FALSE(window.action("nAtmelSocket")->isVisible());
    EXPECT_FALSE(window.action("nPicIsp")->isVisible());
    EXPECT_EQ(window.StatusPanels[0]->text(), "Программатор к работе готов.");

    EXPECT_EQ(store.values(), (std::map<std::string, std::string>{
                                  {"Language", "2"},
                                  {"Last Device", "0"},
                                  {"Update buffer from file", "1"},
                                  {"Verify after program", "1"},
                              }));
}

TEST(Startup, StoredValuesChooseChipAndLanguage) {
    struct Case {
        const char* values;
        const char* checkedChip;
        const char* device;
        const char* eraseCaption;
        const char* checkedLanguage; // nullptr: none
    };
    const Case cases[] = {
        {"Last Device=19\nLanguage=2", "nAVRISP", "AVR ISP (автоопределение)", "erase", "sEnglish"},
        {"Last Device=9\nLanguage=3", "N24C02C", nullptr, "Стирание", "sFrance"},
        {"Last Device=20\nLanguage=1", "n89Cx051", "89Cx051 (autodetect)", "Löschen", "sDeutsch"},
        {"Last Device=3\nLanguage=7", "n89Cx051", "89Cx051 (autodetect)", "erase", "sEnglish"},
        {"Last Device=15\nLanguage=0", "N24AA64", nullptr, "Loschen", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.values);
        TempSettings store;
        store.writeValues(c.values);
        auto session = emulatedSession();
        MainWindow& window = session->window();
        EXPECT_TRUE(checked(window, c.checkedChip));
        if (c.device) {
            EXPECT_EQ(window.Device->text().toStdString(), c.device);
        }
        EXPECT_EQ(window.button("bLoesch")->text().toStdString(), c.eraseCaption);
        for (const char* language : {"sDeutsch", "sEnglish", "sFrance"})
            EXPECT_EQ(checked(window, language),
                      c.checkedLanguage && std::string_view(language) == c.checkedLanguage)
                << language;
    }
    // A stored 7 counts as English, and the English handler stores 2 over it.
    TempSettings store;
    store.writeValues("Language=7");
    auto session = emulatedSession();
    EXPECT_EQ(store.values()["Language"], "2");
}

// tarvik --emulate=CHIP with nothing stored: the Device entry the chip is reached by, stored
// as the first start's choice.
TEST(Startup, AFirstStartWithAVirtualChipSelectsTheEntryItIsReachedBy) {
    struct Case {
        const char* chip;
        const char* entry;
        const char* stored;
    };
    const Case cases[] = {
        {"ATmega8", "nAVRISP", "19"},   {"ATtiny13", "nAVRISP", "19"},
        {"AT90S8515", "nAVRISP", "19"}, {"AT89C2051", "n89Cx051", "0"},
        {"AT89C51-5V", "n89C5x", "1"},  {"AT89C51-12V", "n89C5x", "1"},
        {"AT89S53", "n89Sxx", "2"},     {"AT89S8252", "n89Sxx", "2"},
        {"AT90S1200", "N90S1200", "4"}, {"AT90S2313", "N90S1200", "4"},
        {"24AA00", "N24AA00", "5"},     {"24C04A", "N24C04a", "10"},
        {"24AA04", "N24AA04", "11"},    {"24AA256", "n24AA256", "17"},
        {"locked", "n89Cx051", "0"}, // shows 00 01 02: no chip to place
        {"none", "n89Cx051", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chip);
        TempSettings store;
        auto session = emulatedSession(c.chip);
        EXPECT_TRUE(checked(session->window(), c.entry));
        EXPECT_EQ(store.values()["Last Device"], c.stored);
    }
    // A stored selection still wins.
    TempSettings store;
    store.writeValues("Last Device=9");
    auto session = emulatedSession("AT89C2051");
    EXPECT_TRUE(checked(session->window(), "N24C02C"));
    EXPECT_EQ(store.values()["Last Device"], "9");
}

// The first click after such a start works for every virtual chip: detection for a
// microcontroller, a read for a serial EEPROM.
TEST(Startup, TheFirstJobAfterAnEmulatedFirstStartFindsTheChip) {
    for (const emulator::VirtualChip& chip : emulator::virtualChips()) {
        if (chip.kind == emulator::ChipKind::Absent || chip.name == "unknown")
            continue;
        SCOPED_TRACE(chip.name);
        TempSettings store;
        auto session = emulatedSession(std::string(chip.name));
        MainWindow& window = session->window();
        const bool serial = chip.kind == emulator::ChipKind::SerialEeprom;
        window.call(serial ? &TMainForm::bAuslesenClick : &TMainForm::bDetectDeviceClick);
        ASSERT_TRUE(runUntil([&] { return window.form().ProtocolState == stIdle; }));
        const std::vector<std::string>& log = window.form().Verlauf.lines;
        ASSERT_GE(log.size(), 2u);
        EXPECT_EQ(log[log.size() - 2], "Successfully finished.");
        if (serial)
            EXPECT_EQ(window.form().Hexeditor.ByteCount(), static_cast<int>(chip.memorySize));
        else
            EXPECT_NE(window.form().AutoDevice.text, "Error");
    }
}

TEST(Startup, AValueOfTheWrongTypeIsReportedAndStartUpGoesOn) {
    TempSettings store;
    store.writeValues("Verify after program=yes\nLast Device=19");
    MessageBoxCatcher boxes;
    auto session = emulatedSession();
    MainWindow& window = session->window();
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_NE(boxes.texts[0].find("Verify after program"), std::string::npos) << boxes.texts[0];
    EXPECT_TRUE(checked(window, "nverifynachprogrammieren")); // the default
    EXPECT_TRUE(checked(window, "sEnglish"));
    EXPECT_TRUE(checked(window, "nAVRISP"));
}

// Before the window has applied the stored language, a programmer that can't be set up is
// refused in the language the settings file asks for (English when it can't say).
TEST(Startup, AnUnknownVirtualChipIsNamedInTheStoredLanguage) {
    struct Case {
        const char* store;
        std::string start;
    };
    const Case cases[] = {
        {"", "There is no virtual chip \"AT99\". Known chips: "},
        {"Language=1\n", "Es gibt keinen virtuellen Chip „AT99“. Bekannte Chips: "},
        {"Language=2\n", "There is no virtual chip \"AT99\". Known chips: "},
        {"Language=3\n", "Виртуального чипа «AT99» нет. Известные чипы: "},
        {"Language=0\n", "Es gibt keinen virtuellen Chip „AT99“. Bekannte Chips: "},
        {"Language=russian\n", "There is no virtual chip \"AT99\". Known chips: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.store);
        TempSettings store;
        store.writeValues(c.store);
        ProgramOptions options;
        options.programmer = ProgramOptions::Programmer::Emulated;
        options.chip = "AT99";
        try {
            DesktopSession session(options, nullptr, Latency::None);
            ADD_FAILURE() << "no error";
        } catch (const UserError& error) {
            const std::string text = error.what();
            EXPECT_TRUE(text.starts_with(c.start)) << text;
            EXPECT_NE(text.find("ATmega8"), std::string::npos) << text;
            EXPECT_TRUE(text.ends_with(".")) << text;
        }
    }
}

TEST(Startup, ClosingStoresTheChipAndOptionsAreStoredAtOnce) {
    struct Case {
        const char* entry;
        const char* stored;
    };
    for (const Case& c : {Case{"N24AA512", "18"}, Case{"nAVRISP", "19"}, Case{"N24AA64", "15"}}) {
        TempSettings store;
        auto session = emulatedSession("none");
        MainWindow& window = session->window();
        window.action(c.entry)->trigger();
        EXPECT_EQ(store.values()["Last Device"], "0"); // only closing stores it
        window.close();
        EXPECT_EQ(store.values()["Last Device"], c.stored) << c.entry;
    }

    TempSettings store;
    auto session = emulatedSession();
    MainWindow& window = session->window();
    window.action("updatebuffer")->trigger();
    EXPECT_EQ(store.values()["Update buffer from file"], "0");
    window.action("nverifynachprogrammieren")->trigger();
    EXPECT_EQ(store.values()["Verify after program"], "0");
    window.renderNow();
    EXPECT_FALSE(checked(window, "updatebuffer"));
    EXPECT_FALSE(checked(window, "nverifynachprogrammieren"));
}

TEST(Startup, ExitMenuClosesTheWindowTheNormalWay) {
    TempSettings store;
    auto session = emulatedSession();
    MainWindow& window = session->window();
    window.show();
    window.action("N24AA16")->trigger();
    window.action("nEnde")->trigger();
    EXPECT_TRUE(runUntil([&] { return !window.isVisible(); }));
    EXPECT_EQ(store.values()["Last Device"], "13");
}

TEST(Languages, RoundTripThroughTheMenus) {
    TempSettings store;
    auto session = emulatedSession();
    MainWindow& window = session->window();
    window.action("sFrance")->trigger();
    window.renderNow();
    EXPECT_EQ(window.button("bLoesch")->text(), "Стирание");
    EXPECT_EQ(window.action("nDatei")->text(), "Файл");
    EXPECT_EQ(window.action("nSetup")->text(), "Установки");
    EXPECT_EQ(store.values()["Language"], "3");

    window.action("sDeutsch")->trigger();
    window.renderNow();
    EXPECT_EQ(window.button("bLoesch")->text(), "Löschen");
    EXPECT_EQ(window.action("nLoesch")->text(), "Löschen");
    EXPECT_EQ(window.action("nopen")->text(), "Datei öffnen...");
    EXPECT_TRUE(checked(window, "sDeutsch"));
    EXPECT_FALSE(checked(window, "sFrance"));
    EXPECT_EQ(store.values()["Language"], "1");
    // Captions no handler switches stay.
    EXPECT_EQ(window.GBDevice->title(), "Чип:");
    EXPECT_EQ(window.Label1->text(), "Определен:");
    EXPECT_EQ(window.Label2->text(), "Размер (Байт):");
    EXPECT_EQ(window.action("nAVRISP")->text(), "AVR (автоопределение)");
}
