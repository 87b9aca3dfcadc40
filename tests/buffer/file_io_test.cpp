// File access: naming rule, whole-file reads with their limits and messages, and the save that
// never destroys the file that was there.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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
    // The folder's entries, sorted: a temporary left behind shows here.
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(dir_))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }
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

// A save that fails part-way (here: the file system takes no more than 100 bytes per file, as
// a full disk would) leaves the old file as it was and no temporary beside it.
TEST_F(TempDir, SaveOnAFullFileSystemKeepsTheOldFile) {
    const std::string target = path("dump.bin");
    std::ofstream(target) << "old contents";
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN); // the write fails with EFBIG instead
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string message;
    try {
        writeWholeFile(target, Bytes(1000, 0x55), 1);
    } catch (const UserError& e) {
        message = e.what();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(message, "Cannot write the file \"" + target + "\": File too large");
    EXPECT_EQ(contents(target), "old contents");
    EXPECT_EQ(names(), std::vector<std::string>{"dump.bin"});
}

// A folder the user may not write to. Root may write anywhere, so as root the save runs in a
// child that has become the unprivileged user "nobody" first.
TEST_F(TempDir, SaveIntoAReadOnlyFolderKeepsTheOldFile) {
    const std::string target = path("dump.hex");
    std::ofstream(target) << "old contents";
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read |
                              fs::perms::others_exec);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        try {
            writeWholeFile(target, std::string_view("new"), 1);
        } catch (const UserError& e) {
            const std::string expected =
                "Cannot write the file \"" + target + "\": Permission denied";
            ::_exit(e.what() == expected ? 0 : 2);
        }
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: saved anyway, 2: other message, 3: no user nobody";
    EXPECT_EQ(contents(target), "old contents");
    EXPECT_EQ(names(), std::vector<std::string>{"dump.hex"});
}

// The longest name the file system takes (255 bytes) can be saved, and saved over.
TEST_F(TempDir, LongestNameCanBeSavedAndReplaced) {
    const std::string target = path((std::string(251, 'k') + ".hex").c_str());
    writeWholeFile(target, std::string_view("first"), 1);
    writeWholeFile(target, std::string_view("second"), 1);
    EXPECT_EQ(contents(target), "second");
    EXPECT_EQ(names(), std::vector<std::string>{std::string(251, 'k') + ".hex"});
}

// A pipe as target is refused at once (writing into it would block until someone reads),
// in the user's language, and stays a pipe.
TEST_F(TempDir, PipeAsTargetIsRefusedAtOnce) {
    const std::string fifo = path("pipe.bin");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::string expected[] = {
        "„" + fifo +
            "“ ist keine gewöhnliche Datei (eine Pipe oder ein Gerät) und wird nicht "
            "überschrieben.",
        "\"" + fifo + "\" is not a regular file (a pipe or a device) and is not overwritten.",
        "«" + fifo + "» не обычный файл (канал или устройство) и не будет перезаписан.",
    };
    for (std::uint8_t language = 0; language < 3; ++language) {
        try {
            writeWholeFile(fifo, Bytes{1, 2, 3}, language);
            ADD_FAILURE() << "no error";
        } catch (const UserError& e) {
            EXPECT_EQ(e.what(), expected[language]);
        }
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(names(), std::vector<std::string>{"pipe.bin"});
}

// A new file gets the permissions any program's new file gets: 0666 less the umask.
TEST_F(TempDir, NewFileGetsTheUsualPermissions) {
    const mode_t oldMask = ::umask(027);
    writeWholeFile(path("new.bin"), Bytes{1}, 1);
    ::umask(oldMask);
    EXPECT_EQ(fs::status(path("new.bin")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
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

// A dump saved with sudo over a user's file stays the user's, so the user can still write it.
TEST_F(TempDir, RootSavingOverAUsersFileLeavesItTheirs) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root, to own a file of the user nobody";
    const std::string target = path("dump.bin");
    std::ofstream(target) << "old";
    ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    writeWholeFile(target, std::string_view("new"), 1);
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(contents(target), "new");
}

} // namespace
} // namespace tarvik
