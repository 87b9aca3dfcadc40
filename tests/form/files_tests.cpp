// Opening files into the buffer and saving it.
#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "buffer/crc32.h"
#include "buffer/file_io.h"
#include "buffer/intel_hex.h"
#include "common/user_error.h"
#include "form_fixture.h"
#include "support/non_regular_files.h"

namespace tarvik::test {
namespace {

class FilesTest : public FormTest {
protected:
    TempDir dir;

    void SetUp() override { plugProgrammer(); }

    void open(std::string_view name) {
        host.openChoice = dir.file(name);
        form->nopenClick();
    }
    bool loadActionsEnabled() const {
        return form->bProg.enabled && form->bVergl.enabled && form->nsave.enabled &&
               form->nprogflash.enabled && form->nverifyflash.enabled;
    }
};

constexpr std::string_view kTwoRecords = ":02000000AABB99\r\n:02001000CCDD45\r\n:00000001FF\r\n";

TEST_F(FilesTest, OpensHexAndBinaryByTheName) {
    dir.write("data.HEX", kTwoRecords);
    open("data.HEX");
    HexBuffer::Bytes expected(18, 0xFF);
    expected[0] = 0xAA;
    expected[1] = 0xBB;
    expected[16] = 0xCC;
    expected[17] = 0xDD;
    EXPECT_EQ(form->Hexeditor.bytes(), expected);
    EXPECT_FALSE(form->ErrorFlag);
    EXPECT_EQ(form->StatusBar.panels[1], "data.HEX");
    EXPECT_EQ(form->StatusBar.panels[2], "18 байт");
    EXPECT_TRUE(loadActionsEnabled());

    dir.write("image.BIN", std::string("\x00\x01\xFF", 3));
    open("image.BIN");
    EXPECT_EQ(form->Hexeditor.bytes(), (HexBuffer::Bytes{0x00, 0x01, 0xFF}));
    EXPECT_EQ(form->StatusBar.panels[1], "image.BIN");
}

// Names the H/B rule does not cover are read by what the files hold: Intel HEX as the
// toolchains name it (.eep, .ihx, .rom) loads; what cannot be read says why, and the buffer,
// the status bar and the file a job reloads stay those of the file that is in the buffer.
TEST_F(FilesTest, OtherNamesLoadByTheirContentOrSayWhyNot) {
    dir.write("fw2k.hex", kTwoRecords);
    const HexBuffer::Bytes fw2k = [&] {
        open("fw2k.hex");
        return form->Hexeditor.bytes();
    }();
    const std::pair<const char*, const char*> others[] = {
        {"fw1k.eep", ":0100000042BD\r\n:00000001FF\r\n"},
        {"fw1k.ihx", ":0100000042BD\r\n:00000001FF\r\n"},
        {"fw1k.rom", ":0100000042BD\r\n:00000001FF\r\n"},
        {"fw1k.s19", "S00600004844521B\nS104000042B9\nS9030000FC\n"},
        {"fw1k.srec", "S20500000042B8\nS804000000FB\n"},
    };
    for (const auto& [name, content] : others) {
        SCOPED_TRACE(name);
        open("fw2k.hex");
        dir.write(name, content);
        open(name);
        EXPECT_EQ(form->Hexeditor.bytes(), HexBuffer::Bytes{0x42});
        EXPECT_EQ(form->StatusBar.panels[1], name);
        EXPECT_FALSE(form->ErrorFlag);
    }

    struct Refused {
        const char* name;
        std::string content;
        void (TMainForm::*language)();
        std::string message; // %1: the file's full name
    };
    const Refused refused[] = {
        {"fw.s19", "S104000042BA\nS9030000FC\n", &TMainForm::sEnglishClick,
         "Error in file. Wrong checksum in line 1."},
        {"fw.s19", "S1\n", &TMainForm::sDeutschClick,
         "Fehler in Datei. Zeile 1 ist kein gültiger S-Record: S1"},
        {"fw.elf",
         std::string("\x7F"
                     "ELF\x01\x01\x01",
                     7),
         &TMainForm::sEnglishClick,
         "\"%1\" is not an ELF file Tarvik reads: only 32-bit little-endian ELF, as avr-gcc "
         "writes it."},
        {"fw.elf",
         "\x7F"
         "ELF",
         &TMainForm::sFranceClick,
         "«%1» — не тот файл ELF, который читает Tarvik: только 32-битный ELF little-endian, как "
         "его пишет avr-gcc."},
        {"notes.txt", "hello", &TMainForm::sEnglishClick,
         "\"%1\" is not loaded: Tarvik reads Intel HEX files (a name ending like .hex, or "
         "contents starting with \":\"), Motorola S-record files (lines starting S0 to S9), ELF "
         "files and binary files (a name ending like .bin)."},
        {"notes.txt", "hello", &TMainForm::sDeutschClick,
         "„%1“ wird nicht geladen: Tarvik liest Intel-HEX-Dateien (der Name endet wie .hex, oder "
         "der Inhalt beginnt mit „:“), Motorola-S-Record-Dateien (Zeilen ab S0 bis S9), "
         "ELF-Dateien und Binärdateien (der Name endet wie .bin)."},
        {"empty.rom", "", &TMainForm::sFranceClick,
         "«%1» не загружен: Tarvik читает файлы Intel HEX (имя оканчивается как .hex или "
         "содержимое начинается с «:»), файлы Motorola S-record (строки начинаются с S0–S9), "
         "файлы ELF и двоичные файлы (имя оканчивается как .bin)."},
    };
    for (const Refused& c : refused) {
        SCOPED_TRACE(c.name);
        open("fw2k.hex");
        std::invoke(c.language, *form);
        host.errorBoxes.clear();
        dir.write(c.name, c.content);
        open(c.name);
        ASSERT_EQ(host.errorBoxes.size(), 1u);
        EXPECT_EQ(host.errorBoxes[0], fillIn(c.message, {dir.file(c.name)}));
        EXPECT_TRUE(form->ErrorFlag);
        EXPECT_EQ(form->Hexeditor.bytes(), fw2k);
        EXPECT_EQ(form->StatusBar.panels[1], "fw2k.hex");
        EXPECT_EQ(form->OpenDialog1.fileName, dir.file("fw2k.hex"));
    }

    // A job reloads the file in the buffer, not the one that was refused.
    form->N24AA01Click();
    form->updatebuffer.checked = true;
    dir.write("fw2k.hex", ":0100000017E8\r\n:00000001FF\r\n");
    form->bProgClick();
    EXPECT_EQ(form->Hexeditor.bytes(), HexBuffer::Bytes{0x17});
    EXPECT_TRUE(form->JobRunning());
}

// avr-gcc's ELF: the flash loads, the log says its size and CRC-32 and what else the file
// holds; the reload before write EEPROM takes the file's EEPROM; a save and a read log theirs.
TEST_F(FilesTest, AnElfLoadsItsFlashAndTheReloadBeforeWriteEepromItsEeprom) {
    const std::string fixtures = std::string(TARVIK_FIXTURES_DIR) + "/toolchains/";
    const auto bytesOf = [&](const char* name) { return readWholeFile(fixtures + name, 1); };
    form->sEnglishClick();
    form->nAVRISPClick();
    host.openChoice = fixtures + "blink_atmega8.elf";
    form->nopenClick();
    const HexBuffer::Bytes flash = bytesOf("blink_atmega8.flash.bin");
    EXPECT_EQ(form->Hexeditor.bytes(), flash);
    EXPECT_EQ(
        form->Verlauf.lines,
        (std::vector<std::string>{
            std::string("Loaded: 206 bytes, CRC-32 ") + crc32Text(flash),
            "EEPROM 37 bytes; fuses low E2, high D9; lock FF; built for signature 1E 93 07"}));

    host.saveChoice = dir.file("copy.s19");
    form->nsaveClick();
    EXPECT_EQ(form->Verlauf.lines.back(),
              std::string("Saved: 206 bytes, CRC-32 ") + crc32Text(flash));

    form->updatebuffer.checked = true;
    form->bprogeepromClick();
    const HexBuffer::Bytes eeprom = bytesOf("blink_atmega8.eeprom.bin");
    EXPECT_EQ(form->Hexeditor.bytes(), eeprom);
    ASSERT_GE(form->Verlauf.lines.size(), 2u);
    EXPECT_EQ(form->Verlauf.lines[0], std::string("Loaded: 37 bytes, CRC-32 ") + crc32Text(eeprom));
    EXPECT_EQ(form->Verlauf.lines[1], "flash 206 bytes; fuses low E2, high D9; lock FF; built for "
                                      "signature 1E 93 07");
    EXPECT_TRUE(form->JobRunning()); // the programmer here never answers
}

// A pipe, a socket, a device or a folder is refused at once, never waited on.
TEST_F(FilesTest, OnlyRegularFilesAreOpened) {
    form->sEnglishClick();
    dir.write("good.hex", kTwoRecords);
    open("good.hex");
    for (const std::string& name : makeNonRegularFiles(dir.file("."))) {
        SCOPED_TRACE(name);
        host.openChoice = name;
        try {
            form->nopenClick();
            ADD_FAILURE() << "opened";
        } catch (const UserError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "\"" + name +
                          "\" is not a regular file (a folder, pipe, socket or device) and is not "
                          "opened.");
        }
        EXPECT_EQ(form->Hexeditor.ByteCount(), 18);
        EXPECT_EQ(form->StatusBar.panels[1], "good.hex");
    }
}

TEST_F(FilesTest, AFileWithOnlyTheEndRecordEnablesProgramVerifyAndSave) {
    dir.write("empty.hex", ":00000001FF");
    open("empty.hex");
    EXPECT_EQ(form->Hexeditor.ByteCount(), 0);
    EXPECT_FALSE(form->ErrorFlag);
    EXPECT_TRUE(loadActionsEnabled());
}

TEST_F(FilesTest, ABadFileShowsItsMessageAndKeepsTheBuffer) {
    struct Case {
        const char* content;
        void (TMainForm::*language)();
        const char* message;
    };
    const Case cases[] = {
        {":02000000AABB99\r\n\r\n:00000001FF\r\n", &TMainForm::sEnglishClick,
         "Error in file. No hex file."},
        {":02000000AABB99\r\n", &TMainForm::sDeutschClick, "Fehler in Datei. Keine Hex-Datei."},
        {":02000000AABB98\r\n:00000001FF\r\n", &TMainForm::sEnglishClick,
         "Error in file. Wrong CSUM."},
        {":02000000AABB98\r\n:00000001FF\r\n", &TMainForm::sFranceClick,
         "Ошибка входного файла.Не правильная CheckSum."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        form->Hexeditor.SetAllBytes({7});
        form->nsave.enabled = false;
        form->bProg.enabled = false;
        host.errorBoxes.clear();
        (form.get()->*c.language)();
        dir.write("bad.hex", c.content);
        open("bad.hex");
        EXPECT_EQ(host.errorBoxes, std::vector<std::string>{c.message});
        EXPECT_TRUE(form->ErrorFlag);
        EXPECT_EQ(form->Hexeditor.bytes(), HexBuffer::Bytes{7});
        EXPECT_EQ(form->StatusBar.panels[1], ""); // still no file in the buffer
        EXPECT_FALSE(form->nsave.enabled || form->bProg.enabled);
    }
}

TEST_F(FilesTest, ConversionErrorsAndUnreadableFilesGoToTheGeneralHandler) {
    dir.write("good.hex", kTwoRecords);
    open("good.hex");
    dir.write("data.hex", ":02000000AXBB99\r\n:00000001FF\r\n"); // data field not hex
    form->ErrorFlag = true;
    form->nsave.enabled = false;
    for (const char* name : {"data.hex", "missing.hex", "missing.bin"}) {
        SCOPED_TRACE(name);
        host.openChoice = dir.file(name);
        EXPECT_THROW(form->nopenClick(), UserError);
        EXPECT_EQ(form->Hexeditor.ByteCount(), 18);
        EXPECT_TRUE(form->ErrorFlag);
        EXPECT_FALSE(form->nsave.enabled);
        EXPECT_TRUE(host.errorBoxes.empty());
    }
}

TEST_F(FilesTest, CancellingTheOpenDialogChangesNothing) {
    host.openChoice.reset();
    form->nopenClick(); // nothing chosen yet: nothing happens
    EXPECT_EQ(form->StatusBar.panels[1], "");
    EXPECT_FALSE(form->nsave.enabled);

    dir.write("a.bin", "ab");
    open("a.bin");
    form->Hexeditor.setReadOnlyView(false);
    const std::uint8_t edit[] = {'X'};
    form->Hexeditor.overwrite(0, edit);
    dir.write("a.bin", "abc"); // changed on disk meanwhile
    host.openChoice.reset();
    form->nopenClick();
    EXPECT_EQ(form->Hexeditor.bytes(), (HexBuffer::Bytes{'X', 'b'})); // the edit is kept
    EXPECT_TRUE(form->Hexeditor.HasUnsavedEdits());
    EXPECT_EQ(form->OpenDialog1.fileName, dir.file("a.bin"));
}

TEST_F(FilesTest, AJobReloadsTheOpenedFileAndRefusesOneThatBrokeMeanwhile) {
    form->N24AA01Click();
    form->updatebuffer.checked = true;
    dir.write("image.hex", kTwoRecords);
    open("image.hex");
    dir.write("image.hex", ":02000000AABB98\r\n:00000001FF\r\n");
    form->bProgClick();
    EXPECT_EQ(host.errorBoxes, std::vector<std::string>{"Fehler in Datei. Falsche CSUM."});
    EXPECT_TRUE(form->ErrorFlag);
    EXPECT_EQ(form->ProtocolState, stIdle);
    EXPECT_TRUE(form->bProg.enabled); // no job started
    EXPECT_EQ(form->Hexeditor.ByteCount(), 18);

    dir.write("image.hex", ":0100000042BD\r\n:00000001FF\r\n");
    form->bProgClick();
    EXPECT_EQ(form->Hexeditor.bytes(), HexBuffer::Bytes{0x42}); // the file as it is now
    EXPECT_FALSE(form->ErrorFlag);
    EXPECT_NE(form->ProtocolState, stIdle);
    EXPECT_FALSE(form->bProg.enabled);
}

TEST_F(FilesTest, StatusPanelShowsTheNameAfterEitherSeparator) {
    // A folder of that name for Windows, where the backslash separates; elsewhere it is part
    // of the file's name.
    std::filesystem::create_directories(dir.file("dos"));
    dir.write("dos\\name.hex", ":00000001FF");
    open("dos\\name.hex");
    EXPECT_EQ(form->StatusBar.panels[1], "name.hex");
}

TEST_F(FilesTest, SavesHexOrBinaryByTheName) {
    form->Hexeditor.SetAllBytes({1, 2, 3, 4, 5});
    const std::string hex5 = ":100000000102030405FFFFFFFFFFFFFFFFFFFFFFEC\r\n:00000001FF";
    const struct {
        const char* name;
        std::string content;
    } cases[] = {
        {"x.hex", hex5},
        {"out.txt", hex5},
        {"out", hex5},
        {"out.BIN", "\x01\x02\x03\x04\x05"},
        {"out.bin", "\x01\x02\x03\x04\x05"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write(c.name, "an older file that is replaced without a question");
        host.saveChoice = dir.file(c.name);
        form->nsaveClick();
        EXPECT_EQ(dir.read(c.name), c.content);
    }

    // Seventeen bytes: the second record holds one byte and fifteen FF.
    form->Hexeditor.SetAllBytes(HexBuffer::Bytes(17, 0x00));
    host.saveChoice = dir.file("17.hex");
    form->nsaveClick();
    EXPECT_EQ(dir.read("17.hex"), ":1000000000000000000000000000000000000000F0\r\n"
                                  ":1000100000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFEF\r\n"
                                  ":00000001FF");

    // A save changes neither the flag, the status bar nor the buffer.
    form->ErrorFlag = true;
    const auto panels = form->StatusBar.panels;
    host.saveChoice.reset(); // cancelled: nothing is written
    form->nsaveClick();
    EXPECT_TRUE(form->ErrorFlag);
    EXPECT_EQ(form->StatusBar.panels, panels);
    EXPECT_EQ(form->Hexeditor.ByteCount(), 17);
}

TEST_F(FilesTest, ASavedHexFileReadsBack) {
    HexBuffer::Bytes image(40);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 7);
    form->Hexeditor.SetAllBytes(image);
    host.saveChoice = dir.file("round.hex");
    form->nsaveClick();
    form->Hexeditor.SetAllBytes({});
    open("round.hex");
    image.resize(48, 0xFF); // padded to whole records
    EXPECT_EQ(form->Hexeditor.bytes(), image);
}

// The buffer never grows past what a file may hold, so every save opens again.
TEST_F(FilesTest, WhatIsSavedAtTheLimitOpensAgain) {
    form->sEnglishClick();
    HexBuffer::Bytes full(kMaxImageBytes);
    for (std::size_t i = 0; i < full.size(); ++i)
        full[i] = static_cast<std::uint8_t>(i * 13 + (i >> 16));
    form->Hexeditor.SetAllBytes(full);
    form->Hexeditor.setReadOnlyView(false);
    form->Hexeditor.setInsertMode(true);
    const std::uint8_t extra[] = {0x42};
    form->Hexeditor.typeBytes(5, extra);
    form->Hexeditor.typeBytes(kMaxImageBytes, extra); // typing past the end
    EXPECT_EQ(host.errorBoxes,
              std::vector<std::string>(2, "The buffer cannot grow beyond 16 MiB, the most Tarvik "
                                          "loads from a file: the edit is not made."));
    EXPECT_EQ(form->Hexeditor.bytes(), full);
    EXPECT_FALSE(form->Hexeditor.UndoAvailable());

    // Overwriting, and an insert that deletes as much as it adds, still work.
    form->Hexeditor.overwrite(0, extra);
    form->Hexeditor.erase(1, 1);
    form->Hexeditor.insert(1, extra);
    full[0] = full[1] = 0x42;
    ASSERT_EQ(form->Hexeditor.bytes(), full);

    for (const char* name : {"full.bin", "full.hex"}) {
        SCOPED_TRACE(name);
        host.saveChoice = dir.file(name);
        form->nsaveClick();
        form->Hexeditor.SetAllBytes({});
        open(name);
        EXPECT_TRUE(host.errorBoxes.size() == 2 && host.applicationErrors.empty());
        EXPECT_EQ(form->Hexeditor.bytes(), full);
    }
}

} // namespace
} // namespace tarvik::test
