// File access on POSIX: the system's messages, file-size limits, permissions, owners, links and
// pipes, and saves that fail part-way.
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
#include "file_test_dir.h"
#include "hex_test_support.h"

namespace tarvik {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

using TempDir = test::FileTestDir;

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
