// TRegistryEdit in its INI form, against a temporary configuration folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "common/user_error.h"
#include "shell/posix/ini_store.h"
#include "shell/registry_edit.h"
#include "temp_settings.h"

using namespace tarvik;

namespace {

TRegistryEdit tarvikKey(TRootKey root = rkCurrentUser) {
    TRegistryEdit edit;
    edit.RootKey = root;
    edit.RegKey = "\\software\\Tarvik\\";
    return edit;
}

} // namespace

TEST(RegistryEdit, StoresReadableValuesThatRoundTrip) {
    TempSettings home;
    TRegistryEdit edit = tarvikKey();
    EXPECT_FALSE(edit.HasEntry("Language"));
    EXPECT_EQ(edit.LoadInt("Language", 2), 2); // no file yet: the default
    EXPECT_EQ(iniStorePath(), home.storeFile().toStdString());

    edit.StoreBool("Verify after program", true);
    edit.StoreBool("Update buffer from file", false);
    edit.StoreInt("Language", 3);
    edit.StoreInt("Last Device", -2147483647 - 1);
    EXPECT_EQ(home.storeText(), "[software/Tarvik]\n"
                                "Language=3\n"
                                "Last Device=-2147483648\n"
                                "Update buffer from file=0\n"
                                "Verify after program=1\n");

    TRegistryEdit again = tarvikKey();
    EXPECT_TRUE(again.HasEntry("Verify after program"));
    EXPECT_TRUE(again.LoadBool("Verify after program", false));
    EXPECT_FALSE(again.LoadBool("Update buffer from file", true));
    EXPECT_EQ(again.LoadInt("Language", 2), 3);
    EXPECT_EQ(again.LoadInt("Last Device", 0), -2147483647 - 1);
}

TEST(RegistryEdit, EveryRootKeyIsTheSameStore) {
    TempSettings home;
    tarvikKey(rkAllUsers).StoreInt("Language", 1);
    for (TRootKey root :
         {rkAllUsers, rkCurrentUser, rkLocalMachine, rkClassesRoot, rkCurrentConfig, rkDynData})
        EXPECT_EQ(tarvikKey(root).LoadInt("Language", 0), 1);
}

TEST(RegistryEdit, KeyPathsMapToSections) {
    EXPECT_EQ(iniGroupOf("\\software\\Tarvik\\"), "software/Tarvik");
    EXPECT_EQ(iniGroupOf("software\\Tarvik"), "software/Tarvik");
    EXPECT_EQ(iniGroupOf(""), "");
}

TEST(RegistryEdit, SeesChangesMadeBetweenAccesses) {
    TempSettings home;
    TRegistryEdit edit = tarvikKey();
    edit.StoreInt("Language", 1);
    home.writeStore("[software/Tarvik]\nLanguage=3\nLast Device=12\n");
    EXPECT_EQ(edit.LoadInt("Language", 0), 3);
    EXPECT_EQ(edit.LoadInt("Last Device", 0), 12);
}

TEST(RegistryEdit, ValuesThatAreNotIntegersAreTheWrongType) {
    TempSettings home;
    for (const char* stored : {"abc", "1.5", "0x10", "2147483648", "", "true"}) {
        home.writeStore(QByteArray("[software/Tarvik]\nLanguage=") + stored + "\n");
        TRegistryEdit edit = tarvikKey();
        edit.Language = [] { return std::uint8_t(1); };
        EXPECT_TRUE(edit.HasEntry("Language"));
        try {
            edit.LoadInt("Language", 2);
            ADD_FAILURE() << "accepted " << stored;
        } catch (const UserError& error) {
            EXPECT_NE(std::string(error.what()).find("Wrong data type for \"Language\""),
                      std::string::npos)
                << error.what();
        }
        EXPECT_THROW(edit.LoadBool("Language", true), UserError);
    }
}

TEST(RegistryEdit, AFailedWriteIsAUserErrorInTheCurrentLanguage) {
    TempSettings home;
    // A file where the store's folder should be: nothing can be written.
    QFile blocker(home.path() + "/Tarvik");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TRegistryEdit edit = tarvikKey();
    edit.Language = [] { return std::uint8_t(0); };
    try {
        edit.StoreInt("Language", 2);
        FAIL() << "the write was reported as done";
    } catch (const UserError& error) {
        EXPECT_NE(std::string(error.what()).find("Die Einstellung „Language“ kann nicht"),
                  std::string::npos)
            << error.what();
    }
    EXPECT_FALSE(edit.HasEntry("Language"));
}

TEST(RegistryEdit, RelativeOrEmptyConfigHomeFallsBackToHome) {
    TempSettings home;
    for (const char* value : {"", "relative/dir"}) {
        setenv("XDG_CONFIG_HOME", value, 1);
        EXPECT_EQ(iniStorePath(), (QDir::homePath() + "/.config/Tarvik/Tarvik.conf").toStdString());
    }
}
