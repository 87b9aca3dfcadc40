// tarvik-cli's job commands against the virtual programmer in this process: what they do to
// the chip and the files, what they print, and their exit statuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>

#include "buffer/crc32.h"
#include "buffer/intel_hex.h"
#include "cli_fixture.h"
#include "support/non_regular_files.h"

namespace tarvik::cli::test {
namespace {

using emulator::Fault;
using emulator::VirtualProgrammer;
using namespace std::chrono_literals;

// "> " or "< ", then the 65 bytes of a report as upper-case hex pairs separated by blanks.
bool isTraceLine(const std::string& line) {
    constexpr std::size_t kReportBytes = 65;
    if (line.size() != 2 + 3 * kReportBytes - 1 || (line[0] != '>' && line[0] != '<'))
        return false;
    const auto hexDigit = [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); };
    for (std::size_t i = 0; i < kReportBytes; ++i) {
        if (line[1 + 3 * i] != ' ' || !hexDigit(line[2 + 3 * i]) || !hexDigit(line[3 + 3 * i]))
            return false;
    }
    return true;
}

bool contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::ranges::find(lines, line) != lines.end();
}

bool startsWith(const std::vector<std::uint8_t>& bytes, const std::vector<std::uint8_t>& prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

using Jobs = CliTest;

TEST_F(Jobs, WriteProgramsTheChipAndPrintsTheWindowsLog) {
    const auto image = pattern(300);
    put("firmware.hex", writeIntelHex(image));
    EXPECT_EQ(run({"write", path("firmware.hex")}), 0);
    EXPECT_TRUE(startsWith(programmer->flash(), image));
    std::vector<std::string> printed = outLines();
    ASSERT_EQ(printed.size(), 16u) << out.str();
    EXPECT_TRUE(printed.back().starts_with("Duration: ")) << printed.back();
    printed.pop_back();
    std::vector<std::uint8_t> loaded = image; // HEX records of 16 bytes, the last padded
    loaded.resize(304, 0xFF);
    const std::string crc = crc32Text(loaded);
    EXPECT_EQ(printed,
              (std::vector<std::string>{
                  "reading signature byte...", "ID: 1E 93 07", "Chip: ATmega8", "Size: 8192 bytes",
                  "CRC-32: " + crc, "reading fuse bis...", "Calibration Byte 0: A9",
                  "Calibration Byte 1: AD", "Calibration Byte 2: B0", "Calibration Byte 3: B5",
                  "erasing...", "writing...", "verifying...", "", "Successfully finished."}));
    EXPECT_EQ(err.str(), "");

    EXPECT_EQ(run({"--no-verify", "write", path("firmware.hex")}), 0);
    EXPECT_FALSE(contains(outLines(), "verifying..."));
}

TEST_F(Jobs, ReadSavesTheFlashInTheFormatTheNameSays) {
    ASSERT_TRUE(programmer->loadFlash(pattern(8192, 3)));
    EXPECT_EQ(run({"read", path("dump.bin")}), 0) << err.str();
    EXPECT_EQ(get("dump.bin"), programmer->flash());
    EXPECT_EQ(run({"read", path("dump.hex")}), 0) << err.str();
    const std::vector<std::uint8_t> hex = get("dump.hex");
    EXPECT_EQ(std::string(hex.begin(), hex.end()), writeIntelHex(programmer->flash()));
    EXPECT_EQ(outLines().at(outLines().size() - 2), "Successfully finished.");
    // The read's size and checksum in the log, its checksum after it, also with --quiet.
    EXPECT_TRUE(contains(outLines(),
                         std::string("Read: 8192 bytes, CRC-32 ") + crc32Text(programmer->flash())))
        << out.str();
    EXPECT_EQ(run({"-q", "read", path("dump.bin")}), 0) << err.str();
    EXPECT_EQ(outLines(),
              (std::vector<std::string>{"Chip: ATmega8", "Size: 8192 bytes",
                                        std::string("CRC-32: ") + crc32Text(programmer->flash()),
                                        "Successfully finished."}));
}

TEST_F(Jobs, VerifyPassesOnTheSameImageAndFailsOnAnother) {
    ASSERT_TRUE(programmer->loadFlash(pattern(512)));
    put("same.bin", pattern(512));
    put("other.bin", pattern(512, 1));
    EXPECT_EQ(run({"verify", path("same.bin")}), 0) << out.str();
    EXPECT_EQ(run({"verify", path("other.bin")}), 1);
    EXPECT_EQ(outLines().at(outLines().size() - 2), "Error.");
}

TEST_F(Jobs, AFailedVerifySaysWhere) {
    std::vector<std::uint8_t> image = pattern(1024);
    image[0x1A3] = 0x3F;
    ASSERT_TRUE(programmer->loadFlash(image));
    image[0x1A3] = 0x7F;
    put("firmware.bin", image);
    for (const char* command : {"verify", "write"}) {
        SCOPED_TRACE(command);
        if (std::string_view(command) == "write") // the write takes; then the chip won't
            programmer->injectFault(Fault::ErrorAnswer, 3 + 18 + 1); // the verify's first chunk
        EXPECT_EQ(run({"-q", command, path("firmware.bin")}), 1);
        const std::vector<std::string> printed = outLines();
        const auto from = std::ranges::find(printed, "verify failed, reading the chip back...");
        ASSERT_NE(from, printed.end()) << out.str();
        const std::vector<std::string> expected =
            std::string_view(command) == "verify"
                ? std::vector<std::string>{"Bytes differing from the buffer: 1",
                                           "0x01A3: chip 3F, buffer 7F", "Error."}
                : std::vector<std::string>{"Bytes differing from the buffer: 0", "Error."};
        EXPECT_EQ(std::vector<std::string>(from + 1, printed.end()), expected);
    }
}

TEST_F(Jobs, AnImageLargerThanTheChipIsRefusedBeforeTheErase) {
    put("big.bin", pattern(8193));
    const std::vector<std::uint8_t> before = programmer->flash();
    programmer->clearRecord();
    EXPECT_EQ(run({"-q", "write", path("big.bin")}), 1);
    EXPECT_TRUE(contains(outLines(), "The image (8193 bytes) is larger than the flash of the "
                                     "ATmega8 (8192 bytes); nothing erased or written."))
        << out.str();
    EXPECT_EQ(outLines().back(), "Error.");
    for (const emulator::RecordedReport& report : programmer->record()) {
        if (report.direction == emulator::Direction::ToDevice) {
            EXPECT_TRUE(report.bytes[2] == 1 || report.bytes[2] == 8) << int(report.bytes[2]);
        }
    }
    EXPECT_EQ(programmer->flash(), before);
}

TEST_F(Jobs, AnEmptyFileIsNotProgrammedAndNothingIsSent) {
    put("empty.bin", std::vector<std::uint8_t>{});
    const std::vector<std::uint8_t> before = programmer->flash();
    EXPECT_EQ(run({"-q", "write", path("empty.bin")}), 1);
    EXPECT_TRUE(
        contains(outLines(), "The buffer is empty: nothing to write, the chip is left as it is."))
        << out.str();
    ASSERT_FALSE(outLines().empty());
    EXPECT_EQ(outLines().back(), "Error.");
    EXPECT_TRUE(programmer->record().empty());
    EXPECT_EQ(run({"-q", "--lang", "de", "write", path("empty.bin")}), 1);
    EXPECT_TRUE(contains(outLines(),
                         "Der Buffer ist leer: nichts zu schreiben, der Chip bleibt unverändert."));
    EXPECT_EQ(programmer->flash(), before);
}

TEST_F(Jobs, FilesAreTakenByTheirContentWhereTheNameSaysNothing) {
    put("fw.eep", std::string(":0100000042BD\r\n:00000001FF\r\n"));
    EXPECT_EQ(run({"-q", "write", path("fw.eep")}), 0) << out.str() << err.str();
    EXPECT_EQ(programmer->flash()[0], 0x42);

    put("fw.s19", std::string("S104000042B9\nS9030000FC\n"));
    EXPECT_EQ(run({"-q", "verify", path("fw.s19")}), 0) << out.str() << err.str();

    put("bad.s19", std::string("S104000042BA\nS9030000FC\n"));
    put("notes.txt", std::string("hello"));
    EXPECT_EQ(run({"verify", path("bad.s19")}), 2);
    EXPECT_EQ(err.str(), path("bad.s19") + ": Error in file. Wrong checksum in line 1.\n");
    programmer->clearRecord();
    EXPECT_EQ(run({"write", path("notes.txt")}), 2);
    EXPECT_TRUE(has(err.str(), std::string("\"") + path("notes.txt") + "\" is not loaded"))
        << err.str();
    EXPECT_TRUE(programmer->record().empty());
}

TEST_F(Jobs, APipeAFolderOrADeviceIsRefusedAtOnce) {
    for (const std::string& name : tarvik::test::makeNonRegularFiles(path("."))) {
        for (const char* command : {"write", "verify"}) {
            SCOPED_TRACE(name + " " + command);
            EXPECT_EQ(run({command, name}), 2);
            EXPECT_TRUE(has(err.str(), "\"" + name +
                                           "\" is not a regular file (a folder, pipe, socket or "
                                           "device) and is not opened."))
                << err.str();
        }
    }
}

TEST_F(Jobs, EepromWriteAndReadBack) {
    const auto data = pattern(100, 9);
    put("settings.bin", data);
    EXPECT_EQ(run({"write-eeprom", path("settings.bin")}), 0) << out.str() << err.str();
    EXPECT_TRUE(startsWith(programmer->eeprom(), data));
    EXPECT_TRUE(contains(outLines(), "writing EEPROM..."));
    EXPECT_EQ(run({"read-eeprom", path("back.bin")}), 0) << out.str() << err.str();
    EXPECT_EQ(get("back.bin").size(), 512u); // the ATmega8's whole EEPROM
    EXPECT_TRUE(startsWith(get("back.bin"), data));
}

TEST_F(Jobs, SerialEepromChosenByDeviceName) {
    programmer = std::make_shared<VirtualProgrammer>("24AA02");
    const auto data = pattern(256, 5);
    put("data.bin", data);
    EXPECT_EQ(run({"--device", "24aa02", "write", path("data.bin")}), 0) << err.str();
    EXPECT_EQ(programmer->flash(), data);
    EXPECT_EQ(outLines().front(), "writing..."); // no signature, no erase
    EXPECT_TRUE(contains(outLines(), std::string("CRC-32: ") + crc32Text(data))) << out.str();
    EXPECT_EQ(run({"--device=24AA02", "read", path("back.bin")}), 0);
    EXPECT_EQ(get("back.bin"), data);
    EXPECT_EQ(run({"--device", "24AA02", "erase"}), 0);
    EXPECT_EQ(programmer->flash(), std::vector<std::uint8_t>(256, 0xFF));
}

TEST_F(Jobs, DetectPrintsChipSizeAndFusesBeforeTheResult) {
    programmer = std::make_shared<VirtualProgrammer>("ATtiny2313");
    EXPECT_EQ(run({"detect"}), 0);
    const std::vector<std::string> printed = outLines();
    const auto chip = std::ranges::find(printed, "Chip: ATtiny2313");
    ASSERT_NE(chip, printed.end()) << out.str();
    EXPECT_EQ(*(chip + 1), "Size: 2048 bytes");
    EXPECT_TRUE(contains(printed, "  SPIEN          programmed (locked)")) << out.str();
    EXPECT_TRUE(contains(printed, "  CKSEL2         unprogrammed")) << out.str();
    EXPECT_EQ(printed.at(printed.size() - 2), "Successfully finished.");
    EXPECT_LT(chip - printed.begin(), static_cast<std::ptrdiff_t>(printed.size()) - 3);

    // An AT89 chip has no fuse list to show.
    programmer = std::make_shared<VirtualProgrammer>("AT89C2051");
    EXPECT_EQ(run({"--device", "89Cx051", "detect"}), 0);
    EXPECT_TRUE(contains(outLines(), "Chip: AT89C2051"));
    EXPECT_FALSE(contains(outLines(), "  Lock bit 1  unprogrammed"));
}

// Every job that identifies the chip names it once, just after the signature line; a job
// that identifies nothing, or fails to, names none.
TEST_F(Jobs, EveryJobThatIdentifiesTheChipNamesItOnce) {
    put("firmware.bin", pattern(64));
    struct Case {
        std::vector<std::string> args;
        const char* chip = "ATmega8";
        std::vector<std::string> named; // the lines after "ID: ..."; empty: no name at all
    };
    const std::vector<std::string> mega8{"Chip: ATmega8", "Size: 8192 bytes"};
    const Case cases[] = {
        {{"erase"}, "ATmega8", mega8},
        {{"write", path("firmware.bin")}, "ATmega8", mega8},
        {{"verify", path("firmware.bin")}, "ATmega8", mega8},
        {{"read", path("back.bin")}, "ATmega8", mega8},
        {{"write-eeprom", path("firmware.bin")}, "ATmega8", mega8},
        {{"read-eeprom", path("back.bin")}, "ATmega8", mega8},
        {{"read-fuses"}, "ATmega8", mega8},
        {{"write-fuses", "EESAVE=1"}, "ATmega8", mega8},
        {{"detect"}, "ATmega8", mega8},
        {{"--device", "89C5x", "write", path("firmware.bin")},
         "AT89C51-5V",
         {"Chip: AT89C51 (5V)", "Size: 4096 bytes"}},
        {{"--lang", "de", "--device", "90S1200", "erase"},
         "AT90S2313",
         {"Chip: AT90S2313", "Größe: 2048 Byte"}},
        {{"detect"}, "locked", {"Chip: Device locked !"}}, // no size of its own
        {{"detect"}, "unknown", {}},
        {{"--device", "24AA02", "read", path("back.bin")}, "24AA02", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back() + " " + c.chip);
        programmer = std::make_shared<VirtualProgrammer>(c.chip);
        run(c.args);
        const std::vector<std::string> printed = outLines();
        const auto named = std::ranges::count_if(
            printed, [](const std::string& line) { return line.starts_with("Chip: "); });
        EXPECT_EQ(named, c.named.empty() ? 0 : 1) << out.str();
        if (c.named.empty())
            continue;
        const auto id = std::ranges::find_if(
            printed, [](const std::string& line) { return line.starts_with("ID: "); });
        ASSERT_LE(id + 1 + c.named.size(), printed.end()) << out.str();
        EXPECT_EQ(std::vector<std::string>(id + 1, id + 1 + c.named.size()), c.named);
        EXPECT_FALSE((id + 1 + c.named.size())->starts_with("Size")) << out.str();
    }
}

// With two programmers on the bus, --programmer hid:PATH picks one by its path or identity;
// without it the first is taken and the choice said.
TEST_F(Jobs, ProgrammerPickedByPathAmongSeveral) {
    second = std::make_shared<VirtualProgrammer>("ATtiny2313");
    EXPECT_EQ(run({"--programmer", "hid:emulated:2", "detect"}), 0) << err.str();
    EXPECT_TRUE(contains(outLines(), "Chip: ATtiny2313"));
    EXPECT_EQ(programmer->reportsReceived(), 0u); // the other one is left alone
    EXPECT_EQ(err.str(), "");

    EXPECT_EQ(run({"--programmer=hid:emulated-device-1", "detect"}), 0) << err.str();
    EXPECT_TRUE(contains(outLines(), "Chip: ATmega8"));

    EXPECT_EQ(run({"detect"}), 0);
    EXPECT_TRUE(contains(outLines(), "Chip: ATmega8"));
    EXPECT_EQ(errLines(), (std::vector<std::string>{"2 programmers are attached; using emulated:1 "
                                                    "(pick one with --programmer hid:PATH)."}));

    EXPECT_EQ(run({"--programmer", "hid:/dev/hidraw7", "detect"}), 3);
    EXPECT_EQ(err.str(), "No programmer found at /dev/hidraw7; \"tarvik-cli list-devices\" "
                         "lists the attached ones.\n");
}

TEST_F(Jobs, QuietShowsTheResultAndTheLogOfAFailure) {
    put("firmware.bin", pattern(64));
    EXPECT_EQ(run({"-q", "write", path("firmware.bin")}), 0);
    EXPECT_EQ(out.str(), std::string("Chip: ATmega8\nSize: 8192 bytes\nCRC-32: ") +
                             crc32Text(pattern(64)) + "\nSuccessfully finished.\n");

    programmer->injectFault(Fault::ErrorAnswer, 3); // the erase
    EXPECT_EQ(run({"--quiet", "write", path("firmware.bin")}), 1);
    EXPECT_EQ(outLines().front(), "Chip: ATmega8"); // as it was identified
    EXPECT_EQ(outLines().at(3), "reading signature byte...");
    EXPECT_EQ(outLines().back(), "Error.");
    EXPECT_FALSE(has(out.str(), "Duration"));
}

TEST_F(Jobs, LanguageOfTheLogAndTheMessages) {
    EXPECT_EQ(run({"--lang", "de", "detect"}), 0);
    EXPECT_TRUE(contains(outLines(), "lese Signature Byte..."));
    EXPECT_TRUE(contains(outLines(), "Größe: 8192 Byte"));
    EXPECT_TRUE(contains(outLines(), "Erfolgreich beendet."));
    plugged = false;
    EXPECT_EQ(run({"--lang", "ru", "erase"}), 3);
    EXPECT_EQ(err.str(), "Программатор не найден.\n");
}

TEST_F(Jobs, TraceShowsEveryReportOnStandardError) {
    EXPECT_EQ(run({"--trace", "detect"}), 0);
    const std::vector<std::string> traced = errLines();
    ASSERT_FALSE(traced.empty());
    for (const std::string& line : traced)
        EXPECT_TRUE(isTraceLine(line)) << line;
    // Report id 0, the ISP family, then the signature read.
    EXPECT_TRUE(traced.front().starts_with("> 00 05 01 ")) << traced.front();
    EXPECT_TRUE(traced.at(1).starts_with("< 00 73 1E 93 07")) << traced.at(1);
    EXPECT_EQ(std::ranges::count_if(traced, [](const std::string& l) { return l[0] == '>'; }),
              static_cast<std::ptrdiff_t>(programmer->reportsReceived()));
    EXPECT_FALSE(has(out.str(), "> 00")); // the log stays on standard output alone
}

TEST_F(Jobs, ProgressBarOnlyOnATerminal) {
    put("firmware.bin", pattern(4096));
    terminal = true;
    EXPECT_EQ(run({"write", path("firmware.bin")}), 0);
    EXPECT_TRUE(has(err.str(), "\r[")) << err.str();
    EXPECT_TRUE(has(err.str(), "100%"));
    EXPECT_TRUE(err.str().ends_with("\r\033[K")); // taken off before the result
    EXPECT_FALSE(has(out.str(), "\r"));
    terminal = false;
    EXPECT_EQ(run({"write", path("firmware.bin")}), 0);
    EXPECT_EQ(err.str(), "");
}

TEST_F(Jobs, WaitsForAProgrammerPluggedLate) {
    plugDelay = 300ms;
    EXPECT_EQ(run({"--wait", "5", "detect"}), 0) << err.str();
    EXPECT_TRUE(contains(outLines(), "Chip: ATmega8"));
    plugDelay = 3s;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(run({"--wait", "0.2", "detect"}), 3);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

TEST_F(Jobs, AProgrammerThatCannotBeUsedIsNamedAndNotWaitedFor) {
    std::vector<std::string> noAccess{
        "Programmer connected, but this user may not open it!",
        "This user may not open emulated:1 (the programmer) for reading and writing.",
        "Remedy in language 1:", "    remedy-command"};
    device.readWriteAccess = false;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(run({"detect"}), 3);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_EQ(errLines(), noAccess);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(programmer->reportsReceived(), 0u);

    // --wait gives access the time to appear, then says the same.
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(run({"--wait", "1", "detect"}), 3);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(errLines(), noAccess);

    EXPECT_EQ(run({"--lang", "de", "erase"}), 3);
    EXPECT_EQ(errLines().at(0),
              "Programmiergerät angeschlossen, aber dieser Benutzer darf es nicht öffnen!");

    device.readWriteAccess = true;
    device.outputReportLength = 64;
    EXPECT_EQ(run({"detect"}), 3);
    EXPECT_EQ(errLines(), (std::vector<std::string>{
                              "No programmer found.",
                              "emulated:1 has the ids 0451:3210 but input reports of 65 and "
                              "output reports of 64 bytes instead of 65: not used."}));
}

// Commands that end in anything but success, with what they say on standard error.
struct Failure {
    const char* what;
    std::vector<std::string> args;
    const char* chip = "ATmega8";
    bool plugged = true;
    Fault fault = Fault::ErrorAnswer;
    std::size_t faultAt = 0; // 0: no fault
    int status;
    std::string errStart;
};

TEST_F(Jobs, ExitStatuses) {
    put("good.bin", pattern(64));
    put("bad.hex", ":02000000AABB98\r\n:00000001FF");
    put("notes.txt", "hello");
    put("empty.bin", std::vector<std::uint8_t>{});
    const Failure failures[] = {
        {"no programmer",
         {"erase"},
         "ATmega8",
         false,
         Fault::ErrorAnswer,
         0,
         3,
         "No programmer found."},
        {"missing file",
         {"write", path("missing.bin")},
         "ATmega8",
         true,
         Fault::ErrorAnswer,
         0,
         2,
         "Cannot open"},
        {"bad HEX",
         {"write", path("bad.hex")},
         "ATmega8",
         true,
         Fault::ErrorAnswer,
         0,
         2,
         path("bad.hex") + ": Error in file."},
        {"neither HEX nor binary",
         {"verify", path("notes.txt")},
         "ATmega8",
         true,
         Fault::ErrorAnswer,
         0,
         2,
         std::string("\"") + path("notes.txt") + "\" is not loaded"},
        {"empty file", {"write", path("empty.bin")}, "ATmega8", true, Fault::ErrorAnswer, 0, 1, ""},
        {"unwritable output",
         {"read", path("no/such/dir/x.bin")},
         "ATmega8",
         true,
         Fault::ErrorAnswer,
         0,
         2,
         ""},
        {"EEPROM job for a serial EEPROM",
         {"--device", "24AA02", "read-eeprom", path("x.bin")},
         "24AA02",
         true,
         Fault::ErrorAnswer,
         0,
         2,
         "\"read-eeprom\" is not available"},
        {"fuses of an AT89",
         {"--device", "89C5x", "read-fuses"},
         "AT89C51-12V",
         true,
         Fault::ErrorAnswer,
         0,
         2,
         "\"read-fuses\" is not available"},
        {"unknown emulated chip",
         {"--programmer", "emulate:ATmega9", "detect"},
         "ATmega8",
         true,
         Fault::ErrorAnswer,
         0,
         2,
         "Unknown chip \"ATmega9\""},
        {"error answer", {"erase"}, "ATmega8", true, Fault::ErrorAnswer, 3, 1, ""},
        {"unknown signature", {"detect"}, "unknown", true, Fault::ErrorAnswer, 0, 1, ""},
        {"unplugged",
         {"write", path("good.bin")},
         "ATmega8",
         true,
         Fault::Unplug,
         4,
         1,
         "The programmer was disconnected before the job finished."},
        {"no answer",
         {"--timeout", "0.3", "erase"},
         "ATmega8",
         true,
         Fault::NoAnswer,
         1,
         1,
         "The programmer has not moved the job on for 0.3 s."},
    };
    for (const Failure& failure : failures) {
        SCOPED_TRACE(failure.what);
        programmer = std::make_shared<VirtualProgrammer>(failure.chip);
        plugged = failure.plugged;
        if (failure.faultAt > 0)
            programmer->injectFault(failure.fault, failure.faultAt);
        EXPECT_EQ(run(failure.args), failure.status) << out.str() << err.str();
        EXPECT_TRUE(err.str().starts_with(failure.errStart)) << err.str();
        if (failure.status == 2) {
            EXPECT_FALSE(err.str().empty());
        }
    }
    EXPECT_FALSE(std::filesystem::exists(path("x.bin")));
}

} // namespace
} // namespace tarvik::cli::test
