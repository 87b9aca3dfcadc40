// Opening files into the buffer and saving it.
#include <string>
#include <vector>

#include "common/user_error.h"
#include "form_fixture.h"

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

TEST_F(FilesTest, OpensHexBinaryAndIgnoresOtherNames) {
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

    dir.write("notes.txt", "hello");
    form->ErrorFlag = true;
    open("notes.txt");
    EXPECT_EQ(form->Hexeditor.bytes(), (HexBuffer::Bytes{0x00, 0x01, 0xFF}));
    EXPECT_FALSE(form->ErrorFlag);
    EXPECT_EQ(form->StatusBar.panels[1], "notes.txt");
    EXPECT_TRUE(host.errorBoxes.empty() && host.applicationErrors.empty());
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
        EXPECT_EQ(form->StatusBar.panels[1], "bad.hex"); // shown before parsing
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

TEST_F(FilesTest, CancellingTheOpenDialogReloadsTheEarlierFile) {
    host.openChoice.reset();
    form->nopenClick(); // nothing chosen yet: nothing happens
    EXPECT_EQ(form->StatusBar.panels[1], "");
    EXPECT_FALSE(form->nsave.enabled);

    dir.write("a.bin", "ab");
    open("a.bin");
    dir.write("a.bin", "abc"); // changed on disk meanwhile
    host.openChoice.reset();
    form->nopenClick();
    EXPECT_EQ(form->Hexeditor.bytes(), (HexBuffer::Bytes{'a', 'b', 'c'}));
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

} // namespace
} // namespace tarvik::test
