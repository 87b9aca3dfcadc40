// The system's own texts in each language, written out as the window's tables give them: the
// captions the language handlers switch (and those no handler touches), and the log lines of
// the job steps, the results and the duration. The expected texts are literals, never the
// code's own tables, so a changed letter in a table fails here.
#include <string>
#include <string_view>
#include <vector>

#include "form/main_menu.h"
#include "form_fixture.h"
#include "operations/job_texts.h"

namespace tarvik::test {
namespace {

// Controls that show one caption, by name: menu entries, buttons, the two file dialogs (their
// titles), the main window and the chip group's labels.
struct CaptionRow {
    std::vector<std::string_view> controls;
    std::string_view caption;
};

struct LogLineRow {
    const LangText* text;
    std::string_view line;
};

struct LanguageTable {
    void (TMainForm::*before)(); // another language first, so every caption is rewritten
    void (TMainForm::*handler)();
    std::uint8_t languageCode;
    std::vector<CaptionRow> captions;
    std::vector<LogLineRow> logLines;
};

std::string captionOf(const TMainForm& form, std::string_view control) {
    if (control == "main window")
        return form.Caption;
    if (control == "OpenDialog1")
        return form.OpenDialog1.title;
    if (control == "SaveDialog1")
        return form.SaveDialog1.title;
    if (control == "GBDevice")
        return form.GBDevice.caption;
    if (control == "Label1")
        return form.Label1.caption;
    if (control == "Label2")
        return form.Label2.caption;
    if (const menu::MenuEntry* entry = menu::findMenuEntry(control))
        return (form.*entry->item).caption;
    for (const menu::ButtonEntry& button : menu::kButtons) {
        if (button.name == control)
            return (form.*button.button).caption;
    }
    ADD_FAILURE() << "no control " << control;
    return {};
}

// The captions that are the same in every language.
const std::vector<CaptionRow> kUnswitchedCaptions = {
    {{"main window"}, "Tarvik v 2.5"},
    {{"GBDevice"}, "Чип:"},
    {{"Label1"}, "Определен:"},
    {{"Label2"}, "Размер (Байт):"},
    {{"nsocket"}, "Socket"},
    {{"nAtmelSocket"}, "Atmel MCU"},
    {{"n89Cx051"}, "89Cx051 (автоопределение)"},
    {{"n89C5x"}, "89C5x (автоопределение)"},
    {{"n89Sxx"}, "89Sxx (автоопределение)"},
    {{"N90S1200"}, "90S1200 / 90S2313 (автоопределение)"},
    {{"nSerialEeprom"}, "serial EEPROM"},
    {{"N24AA00"}, "24AA00 / 24(L)C00"},
    {{"N24AA01"}, "24AA01 / 24(L)C01B"},
    {{"N24C01C"}, "24C01C"},
    {{"N24AA02"}, "24AA02 / 24(L)C02B"},
    {{"N24C02C"}, "24C02C"},
    {{"N24C04a"}, "24C04A"},
    {{"N24AA04"}, "24AA04 / 24LC04B"},
    {{"N24AA08"}, "24AA08 / 24(L)C08B"},
    {{"N24AA16"}, "24AA16 / 24(L)C16B"},
    {{"N24aa32"}, "24AA32A / 24LC32A"},
    {{"N24AA64"}, "24AA64 / 24(L)C64"},
    {{"N24AA128"}, "24AA128 / 24(L/F)C128"},
    {{"n24AA256"}, "24AA256 / 24(L/F)C256"},
    {{"N24AA512"}, "24AA512 / 24(L/F)C512"},
    {{"nisp"}, "ISP Connector"},
    {{"nAVRISP"}, "AVR (автоопределение)"},
    {{"nPicIsp"}, "Microchip MCU"},
    {{"N12C508"}, "12C508"},
    {{"n12C508a"}, "12C508A"},
    {{"n12c509"}, "12C509"},
    {{"N12C509A"}, "12C509A"},
    {{"N12CE518"}, "12CE518"},
    {{"N12CE519"}, "12CE519"},
    {{"N16C54"}, "16C54"},
    {{"N16C56"}, "16C56"},
    {{"N16C84"}, "16C84"},
    {{"N16F83"}, "16F83"},
    {{"N16F84"}, "16F84"},
    {{"Sprache1"}, "Выбор языка"},
    {{"sDeutsch"}, "Deutsch"},
    {{"sEnglish"}, "English"},
    {{"sFrance"}, "Russian"},
};

void expectTexts(TMainForm& form, const LanguageTable& table) {
    (form.*table.before)();
    (form.*table.handler)();
    ASSERT_EQ(form.LanguageCode, table.languageCode);
    for (const std::vector<CaptionRow>* rows : {&table.captions, &kUnswitchedCaptions}) {
        for (const CaptionRow& row : *rows) {
            for (std::string_view control : row.controls)
                EXPECT_EQ(captionOf(form, control), row.caption) << control;
        }
    }
    for (const LogLineRow& row : table.logLines)
        EXPECT_EQ(pick(*row.text, form.LanguageCode), row.line);
}

TEST_F(FormTest, GermanCaptionsAndLogLines) {
    const LanguageTable german{
        &TMainForm::sFranceClick,
        &TMainForm::sDeutschClick,
        0,
        {
            {{"nDatei"}, "Datei"},
            {{"nopen"}, "Datei öffnen..."},
            {{"nsave"}, "Buffer speichern unter.."},
            {{"nEnde"}, "Ende"},
            {{"nBuffer"}, "Buffer"},
            {{"nUndo"}, "Undo"},
            {{"nRedo"}, "Redo"},
            {{"neditbuffer"}, "Buffer editierbar"},
            {{"updatebuffer"}, "Buffer aus Datei updaten"},
            {{"nDevice"}, "Device"},
            {{"nAuswahl"}, "Aktion"},
            {{"nprogflash", "bProg"}, "Programmieren"},
            {{"nverifyflash", "bVergl"}, "Vergleichen"},
            {{"nreadflash", "bAuslesen"}, "Auslesen"},
            {{"nLoesch", "bLoesch"}, "Löschen"},
            {{"nBlankCheck"}, "Leertest"},
            {{"nprogeeprom", "bprogeeprom"}, "EEPROM Programmieren"},
            {{"nreadeeprom", "breadeeprom"}, "EEPROM Auslesen"},
            {{"nDetectDevice", "bDetectDevice"}, "Detect Device"},
            {{"nWritefuse"}, "Fuse-/Lockbits schreiben"},
            {{"bWriteFuse"}, "Fuses schreiben"},
            {{"nSetup"}, "Setup"},
            {{"nverifynachprogrammieren"}, "verify nach Programmierung"},
            {{"nInfo"}, "Info"},
            {{"OpenDialog1"}, "Datei öffnen:"},
            {{"SaveDialog1"}, "Datei speichern unter:"},
        },
        {
            {&texts::kReadingSignature, "lese Signature Byte..."},
            {&texts::kErasing, "lösche..."},
            {&texts::kWriting, "schreibe..."},
            {&texts::kVerifying, "vergleiche..."},
            {&texts::kLockBit1, "programmiere Lock Bit 1..."},
            {&texts::kLockBit2, "programmiere Lock Bit 2..."},
            {&texts::kReading, "lese..."},
            {&texts::kWritingEeprom, "schreibe EEPROM..."},
            {&texts::kReadingEeprom, "lese EEPROM..."},
            {&texts::kReadingFuses, "lese Fuse Bits..."},
            {&texts::kWritingFuses, "programmiere Fuse/Lock Bits..."},
            {&texts::kSuccess, "Erfolgreich beendet."},
            {&texts::kFailure, "Fehler."},
            {&texts::kDuration, "Dauer: "},
        },
    };
    expectTexts(*form, german);
}

TEST_F(FormTest, EnglishCaptionsAndLogLines) {
    const LanguageTable english{
        &TMainForm::sDeutschClick,
        &TMainForm::sEnglishClick,
        1,
        {
            {{"nDatei"}, "File"},
            {{"nopen"}, "open file..."},
            {{"nsave"}, "save buffer as.."},
            {{"nEnde"}, "exit"},
            {{"nBuffer"}, "Buffer"},
            {{"nUndo"}, "undo"},
            {{"nRedo"}, "redo"},
            {{"neditbuffer"}, "edit buffer"},
            {{"updatebuffer"}, "update buffer from file"},
            {{"nDevice"}, "Device"},
            {{"nAuswahl"}, "Chose"},
            {{"nprogflash", "bProg"}, "write"},
            {{"nverifyflash", "bVergl"}, "verify"},
            {{"nreadflash", "bAuslesen"}, "read"},
            {{"nLoesch", "bLoesch"}, "erase"},
            {{"nBlankCheck"}, "Blank check"},
            {{"nprogeeprom", "bprogeeprom"}, "write EEPROM"},
            {{"nreadeeprom", "breadeeprom"}, "read EEPROM"},
            {{"nDetectDevice", "bDetectDevice"}, "detect device"},
            {{"nWritefuse"}, "write fuse-/lockbits"},
            {{"bWriteFuse"}, "write fuses"},
            {{"nSetup"}, "Setup"},
            {{"nverifynachprogrammieren"}, "verify after write"},
            {{"nInfo"}, "Info"},
            {{"OpenDialog1"}, "open file:"},
            {{"SaveDialog1"}, "save file as:"},
        },
        {
            {&texts::kReadingSignature, "reading signature byte..."},
            {&texts::kErasing, "erasing..."},
            {&texts::kWriting, "writing..."},
            {&texts::kVerifying, "verifying..."},
            {&texts::kLockBit1, "programming lock bit 1..."},
            {&texts::kLockBit2, "programming lock bit 2..."},
            {&texts::kReading, "reading..."},
            {&texts::kWritingEeprom, "writing EEPROM..."},
            {&texts::kReadingEeprom, "reading EEPROM..."},
            // "bis" is how the programmer's own log has always spelled it.
            {&texts::kReadingFuses, "reading fuse bis..."},
            {&texts::kWritingFuses, "programming fuse/lock bis..."},
            {&texts::kSuccess, "Successfully finished."},
            {&texts::kFailure, "Error."},
            {&texts::kDuration, "Duration: "},
        },
    };
    expectTexts(*form, english);
}

TEST_F(FormTest, RussianCaptionsAndLogLines) {
    const LanguageTable russian{
        &TMainForm::sEnglishClick,
        &TMainForm::sFranceClick,
        2,
        {
            {{"nDatei"}, "Файл"},
            {{"nopen"}, "Открыть файл..."},
            {{"nsave"}, "Сохранить как ?"},
            {{"nEnde"}, "Выход"},
            {{"nBuffer"}, "Буффер"},
            {{"nUndo"}, "Вернуть ввод"},
            {{"nRedo"}, "Отменить ввод"},
            {{"neditbuffer"}, "Редактирование"},
            {{"updatebuffer"}, "обновить буффер из файла"},
            {{"nDevice"}, "Чип"},
            {{"nAuswahl"}, "Опции"},
            {{"nprogflash", "bProg"}, "Запись"},
            {{"nverifyflash", "bVergl"}, "Верификация"},
            {{"nreadflash", "bAuslesen"}, "Чтение"},
            {{"nLoesch", "bLoesch"}, "Стирание"},
            {{"nBlankCheck"}, "Проверка чистоты"},
            {{"nprogeeprom", "bprogeeprom"}, "Запись EEPROM"},
            {{"nreadeeprom", "breadeeprom"}, "Чтение EEPROM"},
            {{"nDetectDevice", "bDetectDevice"}, "Определить чип"},
            {{"nWritefuse"}, "Запись fuse-/lock битов"},
            {{"bWriteFuse"}, "Запись fuse"},
            {{"nSetup"}, "Установки"},
            {{"nverifynachprogrammieren"}, "Проверка после записи"},
            {{"nInfo"}, "Информация"},
            {{"OpenDialog1"}, "Открыть файл:"},
            {{"SaveDialog1"}, "Сохранить как:"},
        },
        {
            {&texts::kReadingSignature, "чтение сигнатурных байт..."},
            {&texts::kErasing, "стирание..."},
            {&texts::kWriting, "запись..."},
            {&texts::kVerifying, "верификация..."},
            {&texts::kLockBit1, "программирование lock bit 1..."},
            {&texts::kLockBit2, "программирование lock bit 2..."},
            {&texts::kReading, "чтение..."},
            {&texts::kWritingEeprom, "запись EEPROM..."},
            {&texts::kReadingEeprom, "чтение EEPROM..."},
            {&texts::kReadingFuses, "чтение fuse битов..."},
            {&texts::kWritingFuses, "программирование fuse/lock битов..."},
            {&texts::kSuccess, "Действие завершено успешно !"},
            {&texts::kFailure, "Ошибка."},
            {&texts::kDuration, "Время выполнения : "},
        },
    };
    expectTexts(*form, russian);
}

} // namespace
} // namespace tarvik::test
