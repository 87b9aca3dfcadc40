// The command line: options anywhere, values in both spellings, and the first mistake named.
#include <gtest/gtest.h>

#include "cli/cli_options.h"
#include "cli/cli_texts.h"
#include "cli_fixture.h"

namespace tarvik::cli::test {
namespace {

using namespace std::chrono_literals;

TEST(Options, TakesOptionsBeforeAndAfterTheCommand) {
    const std::vector<std::string> args{"--device",    "24aa512", "read",      "--wait=2.5",
                                        "x.bin",       "-q",      "--lang",    "ru",
                                        "--no-verify", "--trace", "--timeout", "0"};
    const ParsedCommandLine parsed = parseCommandLine(args);
    ASSERT_FALSE(parsed.error);
    const CliOptions& o = parsed.options;
    EXPECT_EQ(o.command->id, CommandId::Read);
    EXPECT_EQ(o.args, std::vector<std::string>{"x.bin"});
    EXPECT_EQ(o.deviceEntry, "N24AA512");
    EXPECT_EQ(o.wait, 2500ms);
    EXPECT_EQ(o.answerTimeout, 0ms);
    EXPECT_EQ(o.language, 2);
    EXPECT_TRUE(o.quiet && o.trace && !o.verify);
    EXPECT_EQ(o.programmer.kind, ProgrammerChoice::Kind::Hid);
}

TEST(Options, ProgrammerChoices) {
    struct Case {
        std::string value;
        ProgrammerChoice::Kind kind;
        std::string chip;
        std::string socket;
        std::string hidPath = "";
    };
    const Case cases[] = {
        {"hid", ProgrammerChoice::Kind::Hid, "ATmega8", ""},
        {"hid:/dev/hidraw3", ProgrammerChoice::Kind::Hid, "ATmega8", "", "/dev/hidraw3"},
        {"emulate", ProgrammerChoice::Kind::Emulate, "ATmega8", ""},
        {"emulate:ATtiny13", ProgrammerChoice::Kind::Emulate, "ATtiny13", ""},
        {"socket:/tmp/p.sock", ProgrammerChoice::Kind::Socket, "ATmega8", "/tmp/p.sock"},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> args{"--programmer", c.value, "erase"};
        const ParsedCommandLine parsed = parseCommandLine(args);
        ASSERT_FALSE(parsed.error) << c.value;
        EXPECT_EQ(parsed.options.programmer.kind, c.kind);
        EXPECT_EQ(parsed.options.programmer.chip, c.chip);
        EXPECT_EQ(parsed.options.programmer.socketPath, c.socket);
        EXPECT_EQ(parsed.options.programmer.hidPath, c.hidPath);
    }
    EXPECT_TRUE(parseCommandLine(std::vector<std::string>{"--programmer", "hid:", "erase"}).error);
    // "--" ends the options: a file may start with a dash.
    const std::vector<std::string> dashed{"write", "--", "-image.bin"};
    EXPECT_EQ(parseCommandLine(dashed).options.args, std::vector<std::string>{"-image.bin"});
}

TEST(Options, UhidDeviceAnswersAtUsbPaceUnlessToldOtherwise) {
    const std::vector<std::string> foreign{"serve-emulator", "--uhid", "--vendor",       "046d",
                                           "--product",      "C52B",   "--events",       "/tmp/ev",
                                           "--report-bytes", "32",     "--unplug-after", "40"};
    const ParsedCommandLine parsed = parseCommandLine(foreign);
    ASSERT_FALSE(parsed.error);
    const CliOptions& o = parsed.options;
    EXPECT_TRUE(o.uhid);
    EXPECT_EQ(o.reportInterval, std::chrono::milliseconds(1));
    EXPECT_EQ(o.vendorId, 0x046D);
    EXPECT_EQ(o.productId, 0xC52B);
    EXPECT_EQ(o.reportBytes, 32U);
    EXPECT_EQ(o.unplugAfter, 40U);
    EXPECT_EQ(o.eventsPath, "/tmp/ev");

    // --latency: none, the USB frame, or a slower interval between reports.
    const std::pair<std::string, std::optional<int>> latencies[] = {
        {"none", 0}, {"usb", 1}, {"12ms", 12}, {"1000ms", 1000}, {"0ms", {}}, {"1001ms", {}},
        {"12", {}},  {"ms", {}}, {"-3ms", {}}, {"12 ms", {}},    {"fast", {}}};
    for (const auto& [value, interval] : latencies) {
        const std::vector<std::string> paced{"serve-emulator", "--uhid", "--latency", value};
        const ParsedCommandLine result = parseCommandLine(paced);
        EXPECT_EQ(!result.error, interval.has_value()) << value;
        if (interval) {
            EXPECT_EQ(result.options.reportInterval, std::chrono::milliseconds(*interval)) << value;
        }
    }
    const std::vector<std::string> socket{"serve-emulator", "--socket", "p"};
    EXPECT_EQ(parseCommandLine(socket).options.reportInterval, std::chrono::milliseconds(0));
    EXPECT_EQ(parseCommandLine(socket).options.vendorId, 0x0451);
}

using Usage = CliTest;

TEST_F(Usage, MistakesExitWithTwoAndSayWhat) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{}, "No command given."},
        {{"frobnicate"}, "Unknown command \"frobnicate\"."},
        {{"--bogus", "detect"}, "Unknown option \"--bogus\"."},
        {{"detect", "--lang"}, "The option \"--lang\" needs a value."},
        {{"--lang", "fr", "detect"}, "Invalid value \"fr\" for \"--lang\"."},
        {{"--device", "27C256", "detect"}, "Invalid value \"27C256\" for \"--device\"."},
        {{"--programmer", "usb", "detect"}, "Invalid value \"usb\" for \"--programmer\"."},
        {{"--wait", "-1", "detect"}, "Invalid value \"-1\" for \"--wait\"."},
        {{"--wait", "soon", "detect"}, "Invalid value \"soon\" for \"--wait\"."},
        {{"write"}, "Wrong number of arguments for \"write\"."},
        {{"detect", "extra"}, "Wrong number of arguments for \"detect\"."},
        {{"convert", "a.hex"}, "Wrong number of arguments for \"convert\"."},
        {{"detect", "--chip", "ATtiny13"}, "The option \"--chip\" belongs to serve-emulator."},
        {{"serve-emulator"}, "serve-emulator needs either --socket PATH or --uhid."},
        {{"serve-emulator", "--uhid", "--socket", "p"},
         "serve-emulator needs either --socket PATH or --uhid."},
        {{"serve-emulator", "--socket", "p", "--events", "e"},
         "The option \"--events\" applies only with --uhid."},
        {{"detect", "--uhid"}, "The option \"--uhid\" belongs to serve-emulator."},
        {{"serve-emulator", "--uhid", "--vendor", "1g"}, "Invalid value \"1g\" for \"--vendor\"."},
        {{"serve-emulator", "--uhid", "--product", "10000"},
         "Invalid value \"10000\" for \"--product\"."},
        {{"serve-emulator", "--uhid", "--report-bytes", "65"},
         "Invalid value \"65\" for \"--report-bytes\"."},
        {{"serve-emulator", "--uhid", "--report-bytes", "0"},
         "Invalid value \"0\" for \"--report-bytes\"."},
        {{"serve-emulator", "--uhid", "--unplug-after", "0"},
         "Invalid value \"0\" for \"--unplug-after\"."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.args), 2) << c.message;
        EXPECT_EQ(err.str(), c.message + "\nSee \"tarvik-cli --help\".\n");
        EXPECT_EQ(out.str(), "");
    }
    EXPECT_EQ(run({"--lang", "de", "detect", "extra"}), 2);
    EXPECT_EQ(errLines().front(), "Falsche Anzahl von Argumenten für „detect“.");
}

TEST_F(Usage, HelpForTheToolAndEveryCommand) {
    EXPECT_EQ(run({"--help"}), 0);
    for (const CommandInfo& command : kCommands)
        EXPECT_TRUE(has(out.str(), "\n  " + std::string(command.name))) << command.name;
    EXPECT_TRUE(has(out.str(), "Exit status:"));
    for (const CommandInfo& command : kCommands) {
        // Help needs no complete command line.
        EXPECT_EQ(run({std::string(command.name), "--help"}), 0);
        EXPECT_TRUE(
            out.str().starts_with("Usage: tarvik-cli [OPTIONS] " + std::string(command.name)))
            << out.str();
        EXPECT_TRUE(has(out.str(), "Examples:\n  tarvik-cli ")) << command.name;
    }
    // In the language --lang asks for.
    EXPECT_EQ(run({"--lang", "ru", "--help"}), 0);
    EXPECT_TRUE(out.str().starts_with("Использование: tarvik-cli [OPTIONS] COMMAND [ARGS]\n"
                                      "Управляет USB программатором из командной строки.\n"))
        << out.str();
    EXPECT_TRUE(has(out.str(), "\nКод выхода: 0 успех,"));
    EXPECT_EQ(run({"--lang", "de", "write", "--help"}), 0);
    EXPECT_TRUE(out.str().starts_with("Aufruf: tarvik-cli [OPTIONS] write FILE\n"
                                      "Flash (oder serielles EEPROM) aus FILE programmieren.\n"))
        << out.str();
    EXPECT_TRUE(has(out.str(), "\nBeispiele:\n  tarvik-cli write firmware.hex\n"));
    EXPECT_TRUE(has(out.str(), "\nOptionen:\n  --device ENTRY "));
}

TEST_F(Usage, ListDevicesShowsEntriesAndIdentifiableChips) {
    EXPECT_EQ(run({"list-devices"}), 0);
    EXPECT_TRUE(has(out.str(), "\n  avr-isp   AVR (автоопределение)\n"));
    EXPECT_TRUE(has(out.str(), "\n  24AA512   24AA512 / 24(L/F)C512\n"));
    EXPECT_TRUE(has(out.str(), "\n  1E 93 07  ATmega8       8192\n")) << out.str();
    EXPECT_TRUE(has(out.str(), "\n  1E 97 02  ATmega128     131072\n"));
    EXPECT_FALSE(has(out.str(), "Device locked"));
}

// The programmers on the bus close the list, each with its path and identity.
TEST_F(Usage, ListDevicesShowsTheAttachedProgrammers) {
    const std::string heading = "\nProgrammers attached now (--programmer hid:PATH):\n";
    second = std::make_shared<emulator::VirtualProgrammer>("24AA256");
    EXPECT_EQ(run({"list-devices"}), 0);
    EXPECT_TRUE(out.str().ends_with(heading + "  emulated:1          emulated-device-1\n" +
                                    "  emulated:2          emulated-device-2\n"))
        << out.str();
    plugged = false;
    EXPECT_EQ(run({"list-devices"}), 0);
    EXPECT_TRUE(out.str().ends_with(heading + "  none\n")) << out.str();
    EXPECT_EQ(run({"--lang", "ru", "list-devices"}), 0);
    EXPECT_TRUE(out.str().ends_with("\nПодключённые сейчас программаторы (--programmer hid:ПУТЬ):\n"
                                    "  нет\n"))
        << out.str();
}

TEST_F(Usage, ConvertKeepsWorking) {
    put("in.hex", ":02000000AABB99\r\n:00000001FF");
    EXPECT_EQ(run({"convert", path("in.hex"), path("out.bin")}), 0) << err.str();
    EXPECT_EQ(get("out.bin"), (std::vector<std::uint8_t>{0xAA, 0xBB}));
    put("bad.hex", ":02000000AABB98\r\n:00000001FF");
    EXPECT_EQ(run({"--lang", "de", "convert", path("bad.hex"), path("out.bin")}), 2);
    EXPECT_EQ(err.str(), path("bad.hex") + ": Fehler in Datei. Falsche CSUM.\n");
}

} // namespace
} // namespace tarvik::cli::test
