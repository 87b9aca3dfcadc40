// The settings file's text: readable names, escaping, and tolerance of hand edits.
#include <gtest/gtest.h>

#include "shell/posix/settings_ini.h"

using namespace tarvik;

TEST(SettingsIni, WritesOneReadableSectionPerKeyPath) {
    const SettingsMap values{{"software/Tarvik/Verify after program", "1"},
                             {"software/Tarvik/Language", "2"},
                             {"top", "x"}};
    EXPECT_EQ(writeSettingsIni(values), "top=x\n"
                                        "\n[software/Tarvik]\n"
                                        "Language=2\n"
                                        "Verify after program=1\n");
}

TEST(SettingsIni, OddNamesAndValuesRoundTrip) {
    const SettingsMap values{
        {"a/b/name = with equals", "v=1"},
        {"a/b/[bracketed", "x"},
        {"a/b/;semicolon", "y"},
        {"a/b/#hash", "z"},
        {"a/b/back\\slash", "c:\\dir"},
        {"a/b/multi", "line1\nline2\r"},
        {"a/b/Last Device", "-7"},
        // Blanks at the ends of names and values, and names that hold a '/', a line break or
        // a trailing '/' (a hand edit's), come back as they were.
        {"a/b/ padded name\t", " padded value "},
        {"a/b/x /y", "1"},
        {"a/b/x\ny/z", "2"},
        {"a/b/trailing/", "3"},
        {" lead/x", "4"},
    };
    EXPECT_EQ(parseSettingsIni(writeSettingsIni(values)), values);
}

TEST(SettingsIni, ReadsHandEditedFiles) {
    const std::string text = "; written by hand\r\n"
                             "# another comment\n"
                             "\n"
                             "[ software/Tarvik ]\r\n"
                             "  Language = 3  \r\n"
                             "not a value line\n"
                             "=no name\n"
                             "Last Device=19";
    EXPECT_EQ(parseSettingsIni(text), (SettingsMap{{"software/Tarvik/Language", "3"},
                                                   {"software/Tarvik/Last Device", "19"}}));
}
