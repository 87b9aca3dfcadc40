// File access on Windows: the save when the target cannot be replaced (another program holds it
// open without letting it be deleted or renamed: the old file stays and no temporary is left),
// and reads that refuse what is not a file on a disk.
#include <gtest/gtest.h>

#include <windows.h>

#include "buffer/file_io.h"
#include "common/user_error.h"
#include "file_test_dir.h"
#include "platform/file_name.h"

namespace tarvik {
namespace {

using TempDir = test::FileTestDir;

TEST_F(TempDir, AHeldTargetKeepsItsContentsAndNoTemporaryIsLeft) {
    const std::string target = path("Прошивка.hex");
    writeWholeFile(target, std::string_view("old"), 1);
    HANDLE held = CreateFileW(platform::pathFromUtf8(target).c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    try {
        writeWholeFile(target, std::string_view("new"), 1);
        ADD_FAILURE() << "no error";
    } catch (const UserError& e) {
        EXPECT_NE(std::string(e.what()).find("Cannot replace the file"), std::string::npos)
            << e.what();
    }
    CloseHandle(held);
    EXPECT_EQ(contents(target), "old");
    EXPECT_EQ(names(), std::vector<std::string>{"Прошивка.hex"});
    writeWholeFile(target, std::string_view("new"), 1); // once let go, it is replaced
    EXPECT_EQ(contents(target), "new");
}

TEST_F(TempDir, FoldersAndDevicesAreRefusedBeforeAnythingIsRead) {
    const std::string folder = path("Прошивки");
    CreateDirectoryW(platform::pathFromUtf8(folder).c_str(), nullptr);
    for (const std::string& name : {folder, std::string("NUL")}) {
        try {
            readWholeFile(name, 1);
            ADD_FAILURE() << name << " was read";
        } catch (const UserError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "\"" + name +
                          "\" is not a regular file (a folder, pipe, socket or device) and is not "
                          "opened.");
        }
    }
}

} // namespace
} // namespace tarvik
