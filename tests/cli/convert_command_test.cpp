// tarvik-cli convert: round trips between the formats, and how failures are reported.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/convert_command.h"
#include "convert_fixture.h"

namespace tarvik {
namespace {

namespace fs = std::filesystem;

TEST_F(Convert, HexToBinaryToHex) {
    const std::string hex = ":02000000AABB99\r\n:02001000CCDD45\r\n:00000001FF";
    put("in.hex", hex);
    const std::string bin = path("out.BIN");
    const std::string back = path("back.hex");
    EXPECT_EQ(run({path("in.hex"), bin}), 0);
    EXPECT_EQ(get("out.BIN"), "\xAA\xBB" + std::string(14, '\xFF') + "\xCC\xDD");
    EXPECT_EQ(run({bin, back}), 0);
    EXPECT_EQ(get("back.hex"), ":10000000AABBFFFFFFFFFFFFFFFFFFFFFFFFFFFF99\r\n"
                               ":10001000CCDDFFFFFFFFFFFFFFFFFFFFFFFFFFFF45\r\n:00000001FF");
    EXPECT_EQ(err_.str(), "");
    EXPECT_EQ(out_.str(), "CRC-32: 4244899D\n"); // of the 18 bytes written
}

// S-record names write S-record; S-record files read by their content, whatever the name.
TEST_F(Convert, SRecordBothWays) {
    put("in.hex", ":02000000AABB99\r\n:00000001FF");
    EXPECT_EQ(run({path("in.hex"), path("out.S19")}), 0) << err_.str();
    EXPECT_EQ(get("out.S19"), "S009000074617276696B65\r\nS1050000AABB95\r\nS5030001FB\r\n"
                              "S9030000FC\r\n");
    EXPECT_EQ(out_.str(), "CRC-32: 49822C98\n");
    for (const char* name : {"out.srec", "out.mot", "out.s28", "out.s37"}) {
        EXPECT_EQ(run({path("out.S19"), path(name)}), 0) << err_.str();
        EXPECT_EQ(get(name), get("out.S19")) << name;
    }
    EXPECT_EQ(run({path("out.mot"), path("back.bin")}), 0) << err_.str();
    EXPECT_EQ(get("back.bin"), "\xAA\xBB");
}

TEST_F(Convert, LoaderErrorsExitWithTwoAndTheMessage) {
    put("bad.hex", ":02000000AABB98\r\n:00000001FF");
    put("notes.txt", "hello");
    struct ErrorCase {
        std::vector<std::string_view> args;
        std::string message;
    };
    const std::string bad = path("bad.hex");
    const std::string missing = path("missing.bin");
    const std::string notes = path("notes.txt");
    const std::string out = path("out.hex");
    const ErrorCase cases[] = {
        {{bad, out}, bad + ": Error in file. Wrong CSUM.\n"},
        {{bad, out, "--lang", "de"}, bad + ": Fehler in Datei. Falsche CSUM.\n"},
        {{"--lang", "ru", bad, out}, bad + ": Ошибка входного файла.Не правильная CheckSum.\n"},
        {{notes, out},
         "\"" + notes +
             "\" is not loaded: Tarvik reads Intel HEX files (a name ending like .hex, or "
             "contents starting with \":\"), Motorola S-record files (lines starting S0 to S9), "
             "ELF files and binary files (a name ending like .bin).\n"},
    };
    for (const ErrorCase& c : cases) {
        err_.str("");
        EXPECT_EQ(runConvert(c.args, out_, err_), 2);
        EXPECT_EQ(err_.str(), c.message);
    }
    // The reason is the system's own text.
    EXPECT_EQ(run({missing, out}), 2);
    EXPECT_TRUE(err_.str().starts_with("Cannot open the file \"" + missing + "\": ")) << err_.str();
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(Convert, WrongArgumentsShowTheUsage) {
    for (const auto& args :
         std::vector<std::vector<std::string_view>>{{},
                                                    {"a.hex"},
                                                    {"a.hex", "b.bin", "c.bin"},
                                                    {"a.hex", "b.bin", "--lang"},
                                                    {"a.hex", "b.bin", "--lang", "fr"},
                                                    {"--force", "a.hex", "b.bin"}}) {
        err_.str("");
        EXPECT_EQ(runConvert(args, out_, err_), 1);
        EXPECT_TRUE(err_.str().starts_with("Usage: tarvik-cli convert IN OUT")) << err_.str();
    }
}

} // namespace
} // namespace tarvik
