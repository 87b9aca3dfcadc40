// Start-up from the settings store, shut-down, and the options stored as they change.
#include <string>
#include <vector>

#include "common/user_error.h"
#include "form_fixture.h"

namespace tarvik::test {
namespace {

std::int32_t stored(const MemorySettings& settings, const std::string& name) {
    return std::get<std::int32_t>(settings.values.at(name));
}

TEST_F(FormTest, FirstStartStoresTheDefaultsAndSelectsTheFirstSocketFamily) {
    int changes = 0;
    form->OnChange = [&] { ++changes; };
    form->FormCreate();
    EXPECT_EQ(changes, 1); // however many handlers start-up runs
    EXPECT_EQ(settings.values.size(), 4u);
    EXPECT_EQ(stored(settings, "Verify after program"), 1);
    EXPECT_EQ(stored(settings, "Update buffer from file"), 1);
    EXPECT_EQ(stored(settings, "Language"), 2);
    EXPECT_EQ(stored(settings, "Last Device"), 0);
    EXPECT_TRUE(form->nverifynachprogrammieren.checked);
    EXPECT_TRUE(form->updatebuffer.checked);
    EXPECT_TRUE(form->sEnglish.checked);
    EXPECT_EQ(form->LanguageCode, 1);
    EXPECT_EQ(form->nDatei.caption, "File");
    EXPECT_TRUE(form->n89Cx051.checked);
    EXPECT_EQ(form->Device.text, "89Cx051 (autodetect)");
    EXPECT_TRUE(form->IsSocketMcu);
    EXPECT_EQ(form->ProtocolState, stIdle);
    // No programmer: the selection's enabled detection is closed again.
    EXPECT_FALSE(form->bDetectDevice.enabled);
    EXPECT_FALSE(form->nDevice.enabled);
    EXPECT_TRUE(form->nSetup.enabled && form->nInfo.enabled);
    EXPECT_TRUE(host.applicationErrors.empty());
}

TEST_F(FormTest, WithTheProgrammerPluggedTheSelectionKeepsItsControls) {
    plugProgrammer();
    settings.values["Last Device"] = 19;
    form->FormCreate();
    EXPECT_TRUE(form->nAVRISP.checked);
    EXPECT_TRUE(form->bDetectDevice.enabled);
    EXPECT_TRUE(form->nDevice.enabled);
}

TEST_F(FormTest, StartingWithAProgrammerThisUserMayNotOpenSaysSoInTheStoredLanguage) {
    EmulatedDeviceOptions denied;
    denied.readWriteAccess = false;
    backend.plug(std::make_shared<SilentProgrammer>(), Latency::None, denied);
    dispatcher.runUntil([&] { return controller.DeviceList().size() == 1; },
                        std::chrono::seconds(2));
    dispatcher.runPending();
    settings.values["Language"] = 3;
    settings.values["Last Device"] = 19;
    form->FormCreate();
    EXPECT_EQ(form->StatusBar.panels[0],
              "Программатор подключен, но у этого пользователя нет к нему доступа!");
    ASSERT_EQ(form->Verlauf.lines.size(), 3u);
    EXPECT_EQ(form->Verlauf.lines[0],
              "Этот пользователь не может открыть emulated:1 (программатор) для чтения и записи.");
    EXPECT_EQ(form->Verlauf.lines[1], "Remedy in language 2:");
    EXPECT_FALSE(form->bDetectDevice.enabled); // the selection offers no job either
    EXPECT_FALSE(form->nDevice.enabled);
}

TEST_F(FormTest, StoredLastDeviceSelectsItsEntry) {
    struct Case {
        std::int32_t stored;
        MenuItem TMainForm::*entry;
        const char* deviceText;
    };
    const Case cases[] = {
        {19, &TMainForm::nAVRISP, "AVR ISP (автоопределение)"},
        {9, &TMainForm::N24C02C, "24C02C"},
        {18, &TMainForm::N24AA512, "24AA512 / 24(L/F)C512"},
        {4, &TMainForm::N90S1200, "90S1200 / 90S2313 (autodetect)"},
        {1, &TMainForm::n89C5x, "89C5x (autodetect)"},
        {0x100 + 15, &TMainForm::N24AA64, "24AA64 / 24(L)C64"}, // only the low 8 bits count
        {20, &TMainForm::n89Cx051, "89Cx051 (autodetect)"},     // no such entry
        {3, &TMainForm::n89Cx051, "89Cx051 (autodetect)"},      // the separator
        {-1, &TMainForm::n89Cx051, "89Cx051 (autodetect)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        settings.values.clear();
        settings.values["Last Device"] = c.stored;
        restart();
        EXPECT_TRUE((form.get()->*c.entry).checked);
        EXPECT_EQ(form->Device.text, c.deviceText);
        EXPECT_EQ(stored(settings, "Last Device"), c.stored); // read, not rewritten
    }
}

// A caller that knows the chip (the desktop's virtual programmer) names the first start's
// entry; a stored one still wins, and a damaged one is reported and gives way to it.
TEST_F(FormTest, AFirstStartTakesTheEntryTheCallerNames) {
    form->firstStartDevice = 17;
    form->FormCreate();
    EXPECT_TRUE(form->n24AA256.checked);
    EXPECT_EQ(form->CodeSize.text, "32768");
    EXPECT_EQ(stored(settings, "Last Device"), 17);

    settings.values["Last Device"] = 4;
    form.reset();
    form = std::make_unique<TMainForm>(controller, settings, host);
    form->firstStartDevice = 19;
    form->FormCreate();
    EXPECT_TRUE(form->N90S1200.checked);
    EXPECT_EQ(stored(settings, "Last Device"), 4);

    settings.values["Last Device"] = std::string("text");
    form.reset();
    form = std::make_unique<TMainForm>(controller, settings, host);
    form->firstStartDevice = 19;
    form->FormCreate();
    EXPECT_EQ(host.applicationErrors.size(), 1u);
    EXPECT_TRUE(form->nAVRISP.checked);
}

TEST_F(FormTest, StoredLanguageSelectsItsHandler) {
    struct Case {
        std::int32_t stored;
        std::uint8_t languageCode;
        const char* loeschCaption;
        std::int32_t storedAfter;
        bool anyLanguageChecked;
    };
    const Case cases[] = {
        {1, 0, "Löschen", 1, true},     {2, 1, "erase", 2, true}, {3, 2, "Стирание", 3, true},
        {7, 1, "erase", 2, true},       // above 3 counts as English, which stores 2
        {0x101, 0, "Löschen", 1, true}, // the low 8 bits
        {0, 0, "Loschen", 0, false},    // no language applied: the designed captions
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        settings.values.clear();
        settings.values["Language"] = c.stored;
        restart();
        EXPECT_EQ(form->LanguageCode, c.languageCode);
        EXPECT_EQ(form->bLoesch.caption, c.loeschCaption);
        EXPECT_EQ(stored(settings, "Language"), c.storedAfter);
        EXPECT_EQ(form->sDeutsch.checked || form->sEnglish.checked || form->sFrance.checked,
                  c.anyLanguageChecked);
    }
}

// A value of the wrong type is reported in the stored language, its default is used, and
// start-up goes on.
TEST_F(FormTest, AWrongTypedValueIsReportedAndItsDefaultUsed) {
    const char* names[] = {"Verify after program", "Update buffer from file", "Language",
                           "Last Device"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        settings.values.clear();
        settings.values["Verify after program"] = 0;
        settings.values["Update buffer from file"] = 0;
        settings.values["Language"] = 3;
        settings.values["Last Device"] = 19;
        settings.values[name] = std::string("text");
        host.applicationErrors.clear();
        restart();
        ASSERT_EQ(host.applicationErrors.size(), 1u);
        const std::string which = name;
        // In the stored language (Russian), or English when that is the value in question.
        EXPECT_EQ(host.applicationErrors[0],
                  which == "Language"
                      ? std::string("The setting \"Language\" is not a 32-bit integer.")
                      : std::string("Параметр «") + which +
                            "» не является 32-битным целым числом.");
        EXPECT_EQ(form->nverifynachprogrammieren.checked, which == "Verify after program");
        EXPECT_EQ(form->updatebuffer.checked, which == "Update buffer from file");
        EXPECT_EQ(form->LanguageCode, which == "Language" ? 1 : 2);
        EXPECT_EQ(form->Device.text,
                  which == "Last Device" ? "89Cx051 (autodetect)" : "AVR ISP (автоопределение)");
    }
}

TEST_F(FormTest, ClosingStoresTheCheckedEntrysIndex) {
    struct Case {
        void (TMainForm::*click)();
        std::int32_t index;
    };
    const Case cases[] = {
        {&TMainForm::N24AA512Click, 18}, {&TMainForm::nAVRISPClick, 19},
        {&TMainForm::N24AA64Click, 15},  {&TMainForm::N90S1200Click, 4},
        {&TMainForm::n89Cx051Click, 0},  {&TMainForm::N16F84Click, 0}, // a Microchip entry
    };
    form->FormCreate();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        settings.values["Last Device"] = 77;
        (form.get()->*c.click)();
        form->FormClose();
        EXPECT_EQ(stored(settings, "Last Device"), c.index);
    }
    // The next start comes back with the stored entry.
    form->N24AA64Click();
    form->FormClose();
    restart();
    EXPECT_TRUE(form->N24AA64.checked);
    EXPECT_EQ(form->CodeSize.text, "8192");
}

TEST_F(FormTest, OptionsAreStoredTheMomentTheyChange) {
    form->FormCreate();
    form->updatebufferClick();
    EXPECT_FALSE(form->updatebuffer.checked);
    EXPECT_EQ(stored(settings, "Update buffer from file"), 0);
    form->nverifynachprogrammierenClick();
    EXPECT_FALSE(form->nverifynachprogrammieren.checked);
    EXPECT_EQ(stored(settings, "Verify after program"), 0);
    form->updatebufferClick();
    EXPECT_EQ(stored(settings, "Update buffer from file"), 1);
    restart();
    EXPECT_TRUE(form->updatebuffer.checked);
    EXPECT_FALSE(form->nverifynachprogrammieren.checked);
}

class FailingSettings : public MemorySettings {
public:
    void StoreInt(std::string_view, std::int32_t) override {
        throw UserError("Cannot write the settings: Permission denied");
    }
};

TEST_F(FormTest, AFailingStoreIsReportedAndTheWindowKeepsItsNewState) {
    FailingSettings failing;
    form.reset();
    form = std::make_unique<TMainForm>(controller, failing, host);
    form->FormCreate(); // every default fails to store
    EXPECT_EQ(host.applicationErrors.size(), 4u);
    EXPECT_TRUE(form->n89Cx051.checked);
    EXPECT_EQ(form->LanguageCode, 1);
    host.applicationErrors.clear();
    form->updatebufferClick();
    EXPECT_FALSE(form->updatebuffer.checked);
    form->N24AA01Click();
    form->FormClose();
    EXPECT_EQ(host.applicationErrors.size(), 2u);
}

TEST_F(FormTest, ExitAndInfoGoToTheHost) {
    form->nInfoClick();
    form->nEndeClick();
    EXPECT_EQ(host.infoWindowShown, 1);
    EXPECT_EQ(host.closeRequests, 1);
}

} // namespace
} // namespace tarvik::test
