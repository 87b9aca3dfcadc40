// The dialogs' filter strings in Qt's terms.
#include <gtest/gtest.h>

#include "shell/file_dialogs.h"

using namespace tarvik;

TEST(FileDialogs, FiltersBecomeQtNameFilters) {
    EXPECT_EQ(
        qtNameFilters("Hex-files (*.hex)|*.hex|Binary-files (*.bin)|*.bin|All files (*.*)|*.*"),
        (QStringList{"Hex-files (*.hex)", "Binary-files (*.bin)", "All files (*)"}));
    EXPECT_EQ(qtNameFilters("Hex-файл (*.hex)|*.hex|Bin-файл (*.bin)|*.bin"),
              (QStringList{"Hex-файл (*.hex)", "Bin-файл (*.bin)"}));
    // Descriptions without their patterns, pattern lists, a trailing lone description.
    EXPECT_EQ(qtNameFilters("Images|*.hex;*.ihx|Odd"), (QStringList{"Images (*.hex *.ihx)"}));
    EXPECT_TRUE(qtNameFilters("").isEmpty());
}

TEST(FileDialogs, DefaultSuffixes) {
    EXPECT_EQ(suffixOf("*.hex"), "hex");
    EXPECT_EQ(suffixOf("Bin-files (*.bin)"), "bin");
    EXPECT_EQ(suffixOf("All files (*)"), "");
    EXPECT_EQ(suffixOf("Images (*.hex *.ihx)"), "");
    EXPECT_EQ(suffixOf(""), "");
}
