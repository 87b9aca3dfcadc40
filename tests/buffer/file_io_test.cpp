// File access: naming rule, whole-file reads with their limits and messages, and the save that
// never destroys the file that was there.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "buffer/file_io.h"
#include "common/user_error.h"
#include "hex_test_support.h"

namespace tarvik {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

class TempDir : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("tarvik-file-io-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const char* name) const { return (dir_ / name).string(); }
    static std::string contents(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    fs::path dir_;
};

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

TEST_F(TempDir, WriteThenReadBack) {
    const Bytes bytes{0, 1, 0xFF, '\r', '\n'};
    writeWholeFile(path("a.bin"), bytes, 1);
    EXPECT_EQ(readWholeFile(path("a.bin"), 1), bytes);
    writeWholeFile(path("a.hex"), std::string_view(":00000001FF"), 1);
    EXPECT_EQ(readTextFile(path("a.hex"), 1), ":00000001FF");
    // No temporary is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

TEST_F(TempDir, MissingFileNamesTheFileAndTheReason) {
    const std::string missing = path("missing.bin");
    struct MessageCase {
        std::uint8_t language;
        std::string text;
    };
    const MessageCase cases[] = {
        {0, "Die Datei „" + missing + "“ kann nicht geöffnet werden: No such file or directory"},
        {1, "Cannot open the file \"" + missing + "\": No such file or directory"},
        {2, "Не удаётся открыть файл «" + missing + "»: No such file or directory"},
    };
    for (const MessageCase& c : cases) {
        try {
            readWholeFile(missing, c.language);
            ADD_FAILURE() << "no error";
        } catch (const UserError& e) {
            EXPECT_EQ(e.what(), c.text);
        }
    }
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

TEST_F(TempDir, FailedSaveLeavesThePreviousFileIntact) {
    // A name at the file system's limit leaves no room for the temporary's name, so the save
    // fails before anything is written (even for root).
    const std::string target = path((std::string(250, 'k') + ".hex").c_str());
    std::ofstream(target) << "old contents";
    try {
        writeWholeFile(target, std::string_view("new"), 1);
        ADD_FAILURE() << "no error";
    } catch (const UserError& e) {
        EXPECT_NE(std::string(e.what()).find("Cannot write the file"), std::string::npos);
    }
    EXPECT_EQ(contents(target), "old contents");
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
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(TempDir, ReplacingKeepsPermissionsAndFollowsLinks) {
    const std::string target = path("script.hex");
    writeWholeFile(target, std::string_view("1"), 1);
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(target, path("link.hex"));
    writeWholeFile(path("link.hex"), std::string_view("2"), 1);
    EXPECT_TRUE(fs::is_symlink(path("link.hex")));
    EXPECT_EQ(contents(target), "2");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

} // namespace
} // namespace tarvik
