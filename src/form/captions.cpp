// The switched captions as data, the routine that writes them, and the three language handlers.
#include "form/captions.h"

#include <array>
#include <string_view>

#include "common/lang_text.h"
#include "form/settings_store.h"

namespace tarvik {

namespace {

using F = TMainForm;

// One row per control (or pair of controls sharing a caption): its designed caption and its
// German, English and Russian captions.
struct SwitchedCaption {
    MenuItem TMainForm::*item; // nullptr: no menu entry
    Button TMainForm::*button; // nullptr: no button
    std::string_view designed; // shown before any language handler ran
    LangText text;
};

struct DialogTexts {
    FileDialog TMainForm::*dialog;
    std::string_view designedTitle; // the designed filter is the German one
    LangText title;
    LangText filter;
};

constexpr std::array kSwitchedCaptions{
    SwitchedCaption{&F::nDatei, nullptr, "Файл", {"Datei", "File", "Файл"}},
    SwitchedCaption{
        &F::nopen, nullptr, "Открыть файл", {"Datei öffnen...", "open file...", "Открыть файл..."}},
    SwitchedCaption{&F::nsave,
                    nullptr,
                    "Сохранить как ?",
                    {"Buffer speichern unter..", "save buffer as..", "Сохранить как ?"}},
    SwitchedCaption{&F::nEnde, nullptr, "выход", {"Ende", "exit", "Выход"}},
    SwitchedCaption{&F::nBuffer, nullptr, "Buffer", {"Buffer", "Buffer", "Буффер"}},
    SwitchedCaption{&F::nUndo, nullptr, "Undo", {"Undo", "undo", "Вернуть ввод"}},
    SwitchedCaption{&F::nRedo, nullptr, "Redo", {"Redo", "redo", "Отменить ввод"}},
    SwitchedCaption{&F::neditbuffer,
                    nullptr,
                    "Buffer editierbar",
                    {"Buffer editierbar", "edit buffer", "Редактирование"}},
    SwitchedCaption{
        &F::updatebuffer,
        nullptr,
        "Buffer aus Datei updaten",
        {"Buffer aus Datei updaten", "update buffer from file", "обновить буффер из файла"}},
    SwitchedCaption{&F::nDevice, nullptr, "Device", {"Device", "Device", "Чип"}},
    SwitchedCaption{&F::nAuswahl, nullptr, "Aktion", {"Aktion", "Chose", "Опции"}},
    SwitchedCaption{
        &F::nprogflash, &F::bProg, "Programmieren", {"Programmieren", "write", "Запись"}},
    SwitchedCaption{
        &F::nverifyflash, &F::bVergl, "Vergleichen", {"Vergleichen", "verify", "Верификация"}},
    SwitchedCaption{&F::nreadflash, &F::bAuslesen, "Auslesen", {"Auslesen", "read", "Чтение"}},
    SwitchedCaption{&F::nLoesch, &F::bLoesch, "Loschen", {"Löschen", "erase", "Стирание"}},
    SwitchedCaption{
        &F::nBlankCheck, nullptr, "Leertest", {"Leertest", "Blank check", "Проверка чистоты"}},
    SwitchedCaption{&F::nprogeeprom,
                    &F::bprogeeprom,
                    "EEPROM programmieren",
                    {"EEPROM Programmieren", "write EEPROM", "Запись EEPROM"}},
    SwitchedCaption{&F::nreadeeprom,
                    &F::breadeeprom,
                    "EEPROM auslesen",
                    {"EEPROM Auslesen", "read EEPROM", "Чтение EEPROM"}},
    SwitchedCaption{&F::nDetectDevice,
                    &F::bDetectDevice,
                    "Detect Device",
                    {"Detect Device", "detect device", "Определить чип"}},
    SwitchedCaption{
        &F::nWritefuse,
        nullptr,
        "Fuse-/Lockbits schreiben",
        {"Fuse-/Lockbits schreiben", "write fuse-/lockbits", "Запись fuse-/lock битов"}},
    SwitchedCaption{&F::nAbort, nullptr, "Abbrechen", {"Abbrechen", "abort", "Прервать"}},
    SwitchedCaption{nullptr,
                    &F::bWriteFuse,
                    "Fuse schreiben",
                    {"Fuses schreiben", "write fuses", "Запись fuse"}},
    SwitchedCaption{&F::nSetup, nullptr, "Setup", {"Setup", "Setup", "Установки"}},
    SwitchedCaption{&F::nverifynachprogrammieren,
                    nullptr,
                    "verify nach Programmierung",
                    {"verify nach Programmierung", "verify after write", "Проверка после записи"}},
    SwitchedCaption{&F::nInfo, nullptr, "Info", {"Info", "Info", "Информация"}},
};

constexpr LangText kOpenFilter{
    "Hex-Dateien (*.hex)|*.hex|Binary-Dateien (*.bin)|*.bin|Alle Dateien (*.*)|*.*",
    "Hex-files (*.hex)|*.hex|Binary-files (*.bin)|*.bin|All files (*.*)|*.*",
    "Hex-файл (*.hex)|*.hex|Binary-файл (*.bin)|*.bin|Все файлы (*.*)|*.*",
};
constexpr LangText kSaveFilter{
    "Hex-Dateien (*.hex)|*.hex|Bin-Dateien (*.bin)|*.bin",
    "Hex-files (*.hex)|*.hex|Bin-files (*.bin)|*.bin",
    "Hex-файл (*.hex)|*.hex|Bin-файл (*.bin)|*.bin",
};

constexpr std::array kDialogTexts{
    DialogTexts{&F::OpenDialog1,
                "Datei offnen:",
                {"Datei öffnen:", "open file:", "Открыть файл:"},
                kOpenFilter},
    DialogTexts{&F::SaveDialog1,
                "Datei speichern unter:",
                {"Datei speichern unter:", "save file as:", "Сохранить как:"},
                kSaveFilter},
};

// One routine writes every row, whichever column is chosen.
template <typename CaptionOf, typename TitleOf, typename FilterOf>
void writeCaptions(TMainForm& form, CaptionOf captionOf, TitleOf titleOf, FilterOf filterOf) {
    for (const SwitchedCaption& row : kSwitchedCaptions) {
        const std::string_view caption = captionOf(row);
        if (row.item != nullptr)
            (form.*row.item).caption = caption;
        if (row.button != nullptr)
            (form.*row.button).caption = caption;
    }
    for (const DialogTexts& row : kDialogTexts) {
        (form.*row.dialog).title = titleOf(row);
        (form.*row.dialog).filter = filterOf(row);
    }
}

// The language entries: the code each sets and the value stored as "Language".
struct LanguageEntry {
    MenuItem TMainForm::*item;
    std::uint8_t languageCode;
    std::int32_t storedValue;
};

constexpr std::array kLanguageEntries{
    LanguageEntry{&F::sDeutsch, 0, 1},
    LanguageEntry{&F::sEnglish, 1, 2},
    LanguageEntry{&F::sFrance, 2, 3},
};

} // namespace

void applyDesignedCaptions(TMainForm& form) {
    writeCaptions(
        form, [](const SwitchedCaption& row) { return row.designed; },
        [](const DialogTexts& row) { return row.designedTitle; },
        [](const DialogTexts& row) { return row.filter.de; });
}

void applyLanguageCaptions(TMainForm& form, std::uint8_t languageCode) {
    writeCaptions(
        form, [&](const SwitchedCaption& row) { return pick(row.text, languageCode); },
        [&](const DialogTexts& row) { return pick(row.title, languageCode); },
        [&](const DialogTexts& row) { return pick(row.filter, languageCode); });
}

void TMainForm::selectLanguage(std::uint8_t languageCode) {
    NotifyOnExit notify(*this);
    const LanguageEntry* chosen = nullptr;
    for (const LanguageEntry& entry : kLanguageEntries) {
        (this->*entry.item).checked = entry.languageCode == languageCode;
        if (entry.languageCode == languageCode)
            chosen = &entry;
    }
    if (chosen == nullptr)
        return;
    LanguageCode = languageCode;
    storeSetting(setting::kLanguage, chosen->storedValue);
    applyLanguageCaptions(*this, languageCode);
    if (ProgrammerDevice == nullptr)
        showProgrammerStatus(); // the one status text that has a language
}

void TMainForm::sDeutschClick() {
    selectLanguage(0);
}
void TMainForm::sEnglishClick() {
    selectLanguage(1);
}
void TMainForm::sFranceClick() {
    selectLanguage(2);
}

} // namespace tarvik
