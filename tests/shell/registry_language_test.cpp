// The settings store's errors before the window's language is known: they speak the language
// the window will take from the stored settings, and English when those can't say.
#include <gtest/gtest.h>

#include <string>

#include "common/user_error.h"
#include "shell/registry_edit.h"
#include "temp_settings.h"

using namespace tarvik;

TEST(RegistryEdit, ErrorsBeforeTheWindowsLanguageFollowTheStoredOne) {
    struct Case {
        const char* language;
        const char* error;
    };
    const Case cases[] = {
        {"1", "Falscher Datentyp für „Verify after program“ in "},
        {"2", "Wrong data type for \"Verify after program\" in "},
        {"3", "Неверный тип данных для «Verify after program» в "},
        {"259", "Неверный тип данных для «Verify after program» в "}, // the low byte counts
        // 0 leaves the designed window, whose messages are German.
        {"0", "Falscher Datentyp für „Verify after program“ in "},
        {"7", "Wrong data type for \"Verify after program\" in "},
        {"x", "Wrong data type for \"Verify after program\" in "},
    };
    for (const Case& c : cases) {
        TempSettings store; // a store of its own: same-sized rewrites may be cached
        store.writeValues(std::string("Verify after program=abc\nLanguage=") + c.language);
        TRegistryEdit edit;
        edit.RegKey = "\\software\\Tarvik\\";
        try {
            edit.LoadInt("Verify after program", 1);
            ADD_FAILURE() << "accepted abc";
        } catch (const UserError& error) {
            EXPECT_TRUE(std::string(error.what()).starts_with(c.error))
                << c.language << ": " << error.what();
        }
    }
}
