// TRegistryEdit in the Windows registry, against temporary hives (temp_settings.h).
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "common/user_error.h"
#include "shell/registry_edit.h"
#include "shell_fixtures.h"

using namespace tarvik;

namespace {

TRegistryEdit tarvikKey(TRootKey root = rkCurrentUser) {
    TRegistryEdit edit;
    edit.RootKey = root;
    edit.RegKey = "\\software\\Tarvik\\";
    return edit;
}

using Values = std::map<std::string, std::string>;

} // namespace

TEST(RegistryEdit, StoresDwordsThatRoundTrip) {
    TempSettings store;
    TRegistryEdit edit = tarvikKey();
    EXPECT_EQ(edit.location(), "HKEY_CURRENT_USER\\software\\Tarvik");
    EXPECT_FALSE(edit.HasEntry("Language"));
    EXPECT_EQ(edit.LoadInt("Language", 2), 2); // no key yet: the default

    edit.StoreBool("Verify after program", true);
    edit.StoreBool("Update buffer from file", false);
    edit.StoreInt("Language", 3);
    edit.StoreInt("Last Device", -2147483647 - 1);
    EXPECT_EQ(store.values(), (Values{{"Language", "3"},
                                      {"Last Device", "-2147483648"},
                                      {"Update buffer from file", "0"},
                                      {"Verify after program", "1"}}));

    TRegistryEdit again = tarvikKey();
    EXPECT_TRUE(again.HasEntry("Verify after program"));
    EXPECT_TRUE(again.LoadBool("Verify after program", false));
    EXPECT_FALSE(again.LoadBool("Update buffer from file", true));
    EXPECT_EQ(again.LoadInt("Language", 2), 3);
    EXPECT_EQ(again.LoadInt("Last Device", 0), -2147483647 - 1);
}

TEST(RegistryEdit, EachRootKeyIsItsOwnHive) {
    TempSettings store;
    tarvikKey(rkLocalMachine).StoreInt("Language", 1);
    EXPECT_EQ(store.values(HKEY_LOCAL_MACHINE), (Values{{"Language", "1"}}));
    EXPECT_EQ(store.values(), Values{});
    EXPECT_FALSE(tarvikKey().HasEntry("Language"));
    EXPECT_EQ(tarvikKey(rkLocalMachine).location(), "HKEY_LOCAL_MACHINE\\software\\Tarvik");
}

TEST(RegistryEdit, ValuesOfAnotherTypeAreTheWrongType) {
    struct Case {
        DWORD type;
        const char* typeName;
        std::uint64_t data;
        DWORD size;
    };
    const Case cases[] = {
        {REG_SZ, "REG_SZ", 0x32, 4}, // L"2"
        {REG_QWORD, "REG_QWORD", 2, 8},
        {REG_BINARY, "REG_BINARY", 2, 4},
        {REG_DWORD_BIG_ENDIAN, "REG_DWORD_BIG_ENDIAN", 2, 4},
        {REG_DWORD, "REG_DWORD", 2, 2}, // a DWORD two bytes long
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typeName);
        TempSettings store;
        TempSettings::writeRaw(HKEY_CURRENT_USER, L"Language", c.type, &c.data, c.size);
        TRegistryEdit edit = tarvikKey();
        edit.Language = [] { return std::uint8_t(1); };
        EXPECT_TRUE(edit.HasEntry("Language"));
        try {
            edit.LoadInt("Language", 2);
            ADD_FAILURE() << "accepted";
        } catch (const UserError& error) {
            EXPECT_EQ(std::string(error.what()),
                      std::string("Wrong data type for \"Language\" in "
                                  "HKEY_CURRENT_USER\\software\\Tarvik: a 32-bit integer "
                                  "(REG_DWORD) is expected, the registry holds a value of type ") +
                          c.typeName + ".");
        }
        EXPECT_THROW(edit.LoadBool("Language", true), UserError);
    }
}

TEST(RegistryEdit, MachineValuesAreTakenOverOnceWhenTheUserHasNone) {
    TempSettings store;
    store.writeValues("Verify after program=0\nUpdate buffer from file=yes\nLanguage=3",
                      HKEY_LOCAL_MACHINE);
    tarvikKey().TakeOverFrom(rkLocalMachine);
    // The value of another type stays behind; the start-up stores its default.
    EXPECT_EQ(store.values(), (Values{{"Language", "3"}, {"Verify after program", "0"}}));

    store.writeValues("Language=1\nLast Device=15", HKEY_LOCAL_MACHINE);
    tarvikKey().TakeOverFrom(rkLocalMachine);
    EXPECT_EQ(store.values(), (Values{{"Language", "3"}, {"Verify after program", "0"}}));
}

TEST(RegistryEdit, TheWindowStartsFromMachineValuesAndKeepsItsOwn) {
    TempSettings store;
    store.writeValues("Language=3\nLast Device=15", HKEY_LOCAL_MACHINE);
    {
        auto session = emulatedSession("none");
        EXPECT_TRUE(session->window().action("sFrance")->isChecked());
        EXPECT_TRUE(session->window().action("N24AA64")->isChecked());
        session->window().action("sDeutsch")->trigger();
        session->window().close();
    }
    EXPECT_EQ(store.values(), (Values{{"Language", "1"},
                                      {"Last Device", "15"},
                                      {"Update buffer from file", "1"},
                                      {"Verify after program", "1"}}));
    EXPECT_EQ(store.values(HKEY_LOCAL_MACHINE), (Values{{"Language", "3"}, {"Last Device", "15"}}));
}
