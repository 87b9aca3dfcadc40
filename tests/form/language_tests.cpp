// Switching the interface language.
#include <string>
#include <vector>

#include "common/user_error.h"
#include "form_fixture.h"

namespace tarvik::test {
namespace {

TEST_F(FormTest, RussianAndBackToGermanGivesTheGermanCaptions) {
    form->sFranceClick();
    EXPECT_EQ(form->bLoesch.caption, "Стирание");
    EXPECT_EQ(form->nDevice.caption, "Чип");
    form->sDeutschClick();
    EXPECT_EQ(form->LanguageCode, 0);
    EXPECT_EQ(form->bLoesch.caption, "Löschen");
    EXPECT_EQ(form->nLoesch.caption, "Löschen");
    EXPECT_EQ(form->bWriteFuse.caption, "Fuses schreiben");
    EXPECT_EQ(form->nprogeeprom.caption, "EEPROM Programmieren");
    EXPECT_EQ(form->nopen.caption, "Datei öffnen...");
    EXPECT_EQ(form->nEnde.caption, "Ende");
    EXPECT_TRUE(form->sDeutsch.checked);
    EXPECT_FALSE(form->sEnglish.checked || form->sFrance.checked);
    EXPECT_EQ(std::get<std::int32_t>(settings.values.at("Language")), 1);
}

TEST_F(FormTest, DialogTitlesAndFiltersFollowTheLanguage) {
    struct Case {
        void (TMainForm::*click)();
        std::uint8_t code;
        std::int32_t stored;
        const char* openTitle;
        const char* saveTitle;
        const char* openFilter;
        const char* saveFilter;
    };
    const Case cases[] = {
        {&TMainForm::sEnglishClick, 1, 2, "open file:", "save file as:",
         "Hex-files (*.hex)|*.hex|Binary-files (*.bin)|*.bin|All files (*.*)|*.*",
         "Hex-files (*.hex)|*.hex|Bin-files (*.bin)|*.bin"},
        {&TMainForm::sFranceClick, 2, 3, "Открыть файл:", "Сохранить как:",
         "Hex-файл (*.hex)|*.hex|Binary-файл (*.bin)|*.bin|Все файлы (*.*)|*.*",
         "Hex-файл (*.hex)|*.hex|Bin-файл (*.bin)|*.bin"},
        {&TMainForm::sDeutschClick, 0, 1, "Datei öffnen:", "Datei speichern unter:",
         "Hex-Dateien (*.hex)|*.hex|Binary-Dateien (*.bin)|*.bin|Alle Dateien (*.*)|*.*",
         "Hex-Dateien (*.hex)|*.hex|Bin-Dateien (*.bin)|*.bin"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.openTitle);
        (form.get()->*c.click)();
        EXPECT_EQ(form->LanguageCode, c.code);
        EXPECT_EQ(std::get<std::int32_t>(settings.values.at("Language")), c.stored);
        EXPECT_EQ(form->OpenDialog1.title, c.openTitle);
        EXPECT_EQ(form->SaveDialog1.title, c.saveTitle);
        EXPECT_EQ(form->OpenDialog1.filter, c.openFilter);
        EXPECT_EQ(form->SaveDialog1.filter, c.saveFilter);
        EXPECT_EQ(form->OpenDialog1.defaultExt, "*.hex");
        // What no language switches.
        EXPECT_EQ(form->GBDevice.caption, "Чип:");
        EXPECT_EQ(form->Label2.caption, "Размер (Байт):");
        EXPECT_EQ(form->nSerialEeprom.caption, "serial EEPROM");
        EXPECT_EQ(form->nAVRISP.caption, "AVR (автоопределение)");
        EXPECT_EQ(form->Caption, "Tarvik v 2.5");
    }
}

// Records, at every store, what the window showed at that moment.
class SnapshotSettings : public MemorySettings {
public:
    const TMainForm* form = nullptr;
    struct Snapshot {
        std::string name;
        std::int32_t value;
        bool englishChecked;
        std::uint8_t languageCode;
        std::string openCaption;
    };
    std::vector<Snapshot> snapshots;
    bool failing = false;

    void StoreInt(std::string_view name, std::int32_t value) override {
        snapshots.push_back({std::string(name), value, form->sEnglish.checked, form->LanguageCode,
                             form->nopen.caption});
        if (failing)
            throw UserError("Access denied");
        MemorySettings::StoreInt(name, value);
    }
};

class LanguageStoreTest : public FormTest {
protected:
    SnapshotSettings snapshotSettings;
    void SetUp() override {
        form.reset();
        form = std::make_unique<TMainForm>(controller, snapshotSettings, host);
        snapshotSettings.form = form.get();
    }
};

TEST_F(LanguageStoreTest, TheLanguageIsStoredAfterTheMarkAndCodeButBeforeTheCaptions) {
    form->sEnglishClick();
    ASSERT_EQ(snapshotSettings.snapshots.size(), 1u);
    const auto& snapshot = snapshotSettings.snapshots[0];
    EXPECT_EQ(snapshot.name, "Language");
    EXPECT_EQ(snapshot.value, 2);
    EXPECT_TRUE(snapshot.englishChecked);
    EXPECT_EQ(snapshot.languageCode, 1);
    EXPECT_EQ(snapshot.openCaption, "Открыть файл"); // still the designed caption
    EXPECT_EQ(form->nopen.caption, "open file...");
}

TEST_F(LanguageStoreTest, AFailingStoreIsReportedAndTheLanguageStillChanges) {
    snapshotSettings.failing = true;
    form->sFranceClick();
    EXPECT_EQ(host.applicationErrors, std::vector<std::string>{"Access denied"});
    EXPECT_EQ(form->LanguageCode, 2);
    EXPECT_TRUE(form->sFrance.checked);
    EXPECT_EQ(form->bLoesch.caption, "Стирание");
}

} // namespace
} // namespace tarvik::test
