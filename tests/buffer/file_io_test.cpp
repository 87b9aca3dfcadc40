// File access on every system: the naming rule, reads with their limit, UTF-8 names, and the
// save that never destroys the file that was there and leaves no temporary.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "buffer/file_io.h"
#include "common/user_error.h"
#include "file_test_dir.h"
#include "hex_test_support.h"

namespace tarvik {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using TempDir = test::FileTestDir;

TEST(FileKind, ThirdCharacterFromTheEnd) {
    struct KindCase {
        const char* name;
        FileKind kind;
    };
    const KindCase cases[] = {
        {"data.HEX", FileKind::Hex},    {"/tmp/a.b/x.hex", FileKind::Hex},
        {"x.bin", FileKind::Binary},    {"image.BIN", FileKind::Binary},
        {"notes.txt", FileKind::Other}, {"out", FileKind::Other},
        {"hx", FileKind::Other},        {"", FileKind::Other},
        {"file.h86", FileKind::Hex},
    };
    for (const KindCase& c : cases)
        EXPECT_EQ(fileKindOf(c.name), c.kind) << c.name;
}

TEST(FileKind, ContentDecidesWhereTheNameSaysNothing) {
    struct ContentCase {
        const char* name;
        std::string head;
        FileKind kind;
    };
    const ContentCase cases[] = {
        {"fw.eep", ":00000001FF", FileKind::Hex},
        {"fw.ihx", "\r\n \t:10000000", FileKind::Hex},
        {"fw.rom", "S00F000068656C6C6F", FileKind::SRecord},
        {"fw.s19", "\nS9030000FC", FileKind::SRecord},
        {"fw.mot", "SX", FileKind::Other},
        {"fw.elf",
         std::string("\x7F"
                     "ELF\x02\x01",
                     6),
         FileKind::Elf},
        {"fw.elf",
         std::string("\x7F"
                     "EL",
                     3),
         FileKind::Other},
        {"notes.txt", "hello", FileKind::Other},
        {"empty.rom", "", FileKind::Other},
        {"blank.rom", "  \r\n", FileKind::Other},
        // The name's rule stands wherever it covers the name, whatever the content.
        {"fw.hex",
         std::string("\x7F"
                     "ELF",
                     4),
         FileKind::Hex},
        {"fw.bin", ":00000001FF", FileKind::Binary},
    };
    for (const ContentCase& c : cases) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(c.head.data());
        EXPECT_EQ(fileKindOf(c.name, std::span(bytes, c.head.size())), c.kind) << c.name;
    }
    // Only the first kFileKindHeadBytes count: a ':' after them makes no HEX file.
    const std::vector<std::uint8_t> late = [] {
        std::vector<std::uint8_t> bytes(kFileKindHeadBytes, ' ');
        bytes.push_back(':');
        return bytes;
    }();
    EXPECT_EQ(fileKindOf("late.rom", late), FileKind::Other);
}

TEST_F(TempDir, WriteThenReadBack) {
    const Bytes bytes{0, 1, 0xFF, '\r', '\n'};
    writeWholeFile(path("a.bin"), bytes, 1);
    EXPECT_EQ(readWholeFile(path("a.bin"), 1), bytes);
    writeWholeFile(path("a.hex"), std::string_view(":00000001FF"), 1);
    EXPECT_EQ(readTextFile(path("a.hex"), 1), ":00000001FF");
    // No temporary is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

TEST_F(TempDir, OversizedFileIsRefusedUnread) {
    const std::string big = path("big.bin");
    fs::resize_file((std::ofstream(big), big), kMaxImageBytes + 1);
    try {
        readWholeFile(big, 1);
        ADD_FAILURE() << "no error";
    } catch (const UserError& e) {
        EXPECT_EQ(e.what(), "The file \"" + big + "\" is too large (more than 16 MiB).");
    }
    fs::resize_file(big, kMaxImageBytes);
    EXPECT_EQ(readWholeFile(big, 1).size(), kMaxImageBytes);
}

TEST_F(TempDir, FailedRenameLeavesTheTargetAndNoTemporary) {
    // A folder in the way of the target: the temporary is written, the rename fails.
    fs::create_directories(path("in-the-way.bin"));
    fs::path inside = fs::path(path("in-the-way.bin")) / "file";
    std::ofstream(inside) << "still here";
    try {
        writeWholeFile(path("in-the-way.bin"), Bytes{1, 2}, 1);
        ADD_FAILURE() << "no error";
    } catch (const UserError& e) {
        EXPECT_NE(std::string(e.what()).find("Cannot replace the file"), std::string::npos);
    }
    EXPECT_EQ(contents(inside.string()), "still here");
    EXPECT_EQ(names(), std::vector<std::string>{"in-the-way.bin"});
}

// Names outside ASCII open and save on every system (wide names on Windows).
TEST_F(TempDir, NamesInAnyScriptOpenAndSave) {
    fs::create_directories(platform::pathFromUtf8(path("Jürgen/Прошивки")));
    const std::string firmware = path("Jürgen/Прошивки/fw.hex");
    writeWholeFile(firmware, std::string_view(":00000001FF"), 1);
    writeWholeFile(firmware, std::string_view(":0000000AF6"), 1);
    EXPECT_EQ(readTextFile(firmware, 1), ":0000000AF6");
    EXPECT_EQ(contents(firmware), ":0000000AF6");
    EXPECT_EQ(names(), std::vector<std::string>{"Jürgen"});
    EXPECT_EQ(std::distance(fs::directory_iterator(platform::pathFromUtf8(path("Jürgen/Прошивки"))),
                            fs::directory_iterator()),
              1);
}

} // namespace
} // namespace tarvik
