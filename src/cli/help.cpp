// The help pages: one row per command, in the order of the command table.
#include "cli/help.h"

#include <array>
#include <string_view>

namespace tarvik::cli {

namespace {

struct HelpPage {
    CommandId id;
    std::string_view synopsis;
    std::string_view summary;
    std::string_view details; // may be empty
    std::string_view examples;
};

constexpr std::array kHelpPages{
    HelpPage{CommandId::Detect, "detect", "Identify the chip by its signature.",
             "Prints the chip's name and flash size; for AVR chips also every fuse and lock bit.",
             "tarvik-cli detect\n  tarvik-cli --device 89C5x detect"},
    HelpPage{CommandId::Erase, "erase", "Erase the chip.", "",
             "tarvik-cli erase\n  tarvik-cli --device 24AA256 erase"},
    HelpPage{CommandId::Write, "write FILE", "Program the flash (or serial EEPROM) from FILE.",
             "FILE is Intel HEX when the third character from the end of its name is H (.hex),\n"
             "binary when it is B (.bin); any other name is read by its content: Intel HEX\n"
             "(.ihx, .eep), Motorola S-record (.s19, .srec, ...) or ELF (avr-gcc's .elf, whose\n"
             "flash is taken). The image's CRC-32 follows the chip's name. An ELF file built for\n"
             "another chip's signature is refused before anything is erased, unless --force.\n"
             "A microcontroller is erased first; the chip is verified afterwards unless\n"
             "--no-verify is given. An image larger than the chip is refused before anything is\n"
             "erased. A failed verify reads the chip back and prints how many bytes differ and\n"
             "the first ten (0x01A3: chip 3F, buffer 7F).",
             "tarvik-cli write firmware.hex\n  tarvik-cli write firmware.elf\n"
             "  tarvik-cli --device 24AA64 --no-verify write data.bin"},
    HelpPage{CommandId::Verify, "verify FILE", "Compare the chip with FILE.",
             "When the chip differs, it is read back and compared with FILE: the number of\n"
             "differing bytes and the first ten are printed (0x01A3: chip 3F, buffer 7F).",
             "tarvik-cli verify firmware.hex"},
    HelpPage{CommandId::Read, "read FILE", "Read the flash (or serial EEPROM) into FILE.",
             "FILE is written as Motorola S-record when its name ends in .s19, .s28, .s37,\n"
             ".srec or .mot, as binary when the third character from the end of its name is\n"
             "B, as Intel HEX otherwise. The image's CRC-32 is printed. An existing file is\n"
             "replaced only once the new one is complete.",
             "tarvik-cli read backup.hex\n  tarvik-cli --device 24AA512 read eeprom.bin"},
    HelpPage{CommandId::WriteEeprom, "write-eeprom FILE",
             "Program the data EEPROM of an AVR chip from FILE.",
             "FILE is read as for write; of an ELF file (avr-gcc's .elf) the .eeprom section\n"
             "is taken.",
             "tarvik-cli write-eeprom settings.hex"},
    HelpPage{CommandId::ReadEeprom, "read-eeprom FILE",
             "Read the data EEPROM of an AVR chip into FILE.", "",
             "tarvik-cli read-eeprom settings.bin"},
    HelpPage{CommandId::ReadFuses, "read-fuses", "Print every fuse and lock bit of the chip.",
             "Each entry of the chip's fuse list with its state, programmed or unprogrammed;\n"
             "entries that cannot be changed are marked locked.",
             "tarvik-cli read-fuses"},
    HelpPage{CommandId::WriteFuses, "write-fuses NAME=0|1 ... | --from FILE",
             "Change fuse and lock bits.",
             "Identifies the chip, reads its fuses, sets the named entries (1 = programmed) and\n"
             "writes them. NAME is the entry as read-fuses shows it, in any letter case; quote\n"
             "names with blanks. Unknown names and locked entries are refused before anything\n"
             "is written; when every entry already has its value, nothing is written. Lock bits\n"
             "are written after the fuses, as a chip takes no fuse change once locked. Each\n"
             "change is listed with its old and new state. A change that locks you out of the\n"
             "chip (RSTDISBL or DWEN programmed, SPIEN unprogrammed, a lock bit programmed) is\n"
             "refused unless --force is given. Afterwards the fuses are read back and every\n"
             "entry the chip did not take is named (exit status 1).\n"
             "--from FILE takes the fuse and lock bytes of an ELF file (avr-gcc's .fuse and\n"
             ".lock sections) instead of NAME=0|1; a file built for another chip's signature\n"
             "is refused unless --force.",
             "tarvik-cli write-fuses EESAVE=1 BOOTRST=0\n"
             "  tarvik-cli --force write-fuses \"Lock bit 1=1\" \"Lock bit 2=1\"\n"
             "  tarvik-cli write-fuses --from firmware.elf"},
    HelpPage{CommandId::Convert, "convert IN OUT",
             "Convert between Intel HEX, S-record and binary files.",
             "IN is read as write reads FILE (an ELF file's flash); OUT is written as read\n"
             "writes FILE. The CRC-32 of what was written is printed.",
             "tarvik-cli convert firmware.hex firmware.bin"},
    HelpPage{CommandId::ServeEmulator,
             "serve-emulator --socket PATH|--uhid [--chip NAME] [--latency usb|none|Nms]",
             "Serve a virtual programmer until interrupted.",
             "--socket: on a UNIX-domain socket; another tarvik-cli (or the window) reaches it\n"
             "with --programmer socket:PATH. --uhid: as a USB HID device made by the Linux\n"
             "kernel through /dev/uhid (the uhid module; root, or a udev rule for /dev/uhid),\n"
             "which every client finds as it finds the real programmer; interrupting it unplugs\n"
             "the device.\n"
             "--chip names the virtual chip it holds (default ATmega8; list-devices lists them);\n"
             "--latency usb answers at USB full-speed frame boundaries (the default with --uhid),\n"
             "--latency Nms the same with N ms (1 to 1000) between two reports, for clients on a\n"
             "slow host, --latency none at once.\n"
             "--unplug-after N drops off the bus at the Nth output report.\n"
             "For tests, with --uhid: --vendor HEX and --product HEX give other ids (a foreign\n"
             "device), --report-bytes N reports of N bytes instead of 64, and --events FILE\n"
             "notes each thing the kernel does with the device (created, opened, closed,\n"
             "unplugged) with the monotonic clock's seconds.",
             "tarvik-cli serve-emulator --socket /tmp/prog.sock --chip ATtiny2313\n"
             "  sudo tarvik-cli serve-emulator --uhid --chip ATmega128"},
    HelpPage{CommandId::ListDevices, "list-devices",
             "List entries, chips and attached programmers.",
             "Shows the Device menu entries --device selects, the chips that can be identified,\n"
             "the virtual chips, and each programmer attached now as its node path and identity\n"
             "(either one picks it with --programmer hid:PATH).",
             "tarvik-cli list-devices\n  tarvik-cli --programmer hid:/dev/hidraw3 detect"},
};

constexpr std::string_view kOptions =
    "Options:\n"
    "  --device ENTRY       the Device menu entry: avr-isp (default), 89Cx051, 89C5x, 89Sxx,\n"
    "                       90S1200, 24AA00 ... 24AA512 (see list-devices)\n"
    "  --programmer P       hid (default: the programmer on USB), hid:PATH (the one at that\n"
    "                       node or identity, see list-devices), emulate[:CHIP] (a virtual\n"
    "                       one in this process, default ATmega8), socket:PATH\n"
    "  --no-verify          program without verifying afterwards\n"
    "  --force              write-fuses: write a change that locks you out of the chip;\n"
    "                       write, verify, write-eeprom, write-fuses: a file built for\n"
    "                       another chip\n"
    "  --from FILE          write-fuses: the fuse and lock bytes of this ELF file\n"
    "  --lang de|en|ru      language of the log lines and messages (default en)\n"
    "  --trace              show every report exchanged, on standard error\n"
    "  -q, --quiet          show only errors, the chip and the result\n"
    "  --wait SECONDS       wait that long for the programmer to be plugged in (default 0)\n"
    "  --timeout SECONDS    give up when no answer has moved the job on for that long\n"
    "                       (fractions allowed; default 30; 0 waits for ever)\n"
    "  -h, --help           this help; COMMAND --help for a command's\n";

constexpr std::string_view kExitStatus =
    "Exit status: 0 success, 1 the job failed, 2 bad usage or a file that could not be read\n"
    "or written, 3 no programmer found, or one this user may not open; after SIGINT or\n"
    "SIGTERM during a job, 128 + the signal number (130, 143).\n";

} // namespace

void printHelp(std::ostream& out, const CommandInfo* command) {
    if (command == nullptr) {
        out << "Usage: tarvik-cli [OPTIONS] COMMAND [ARGS]\n"
               "Drives the USB chip programmer from the command line.\n\nCommands:\n";
        for (const HelpPage& page : kHelpPages) {
            std::string synopsis(page.synopsis);
            synopsis.resize(std::max<std::size_t>(synopsis.size() + 1, 26), ' ');
            out << "  " << synopsis << page.summary << '\n';
        }
        out << '\n'
            << kOptions << '\n'
            << kExitStatus
            << "\nExamples:\n  tarvik-cli write firmware.hex\n"
               "  tarvik-cli --device 24AA256 read dump.bin\n"
               "  tarvik-cli --quiet --wait 10 write-fuses EESAVE=1\n";
        return;
    }
    for (const HelpPage& page : kHelpPages) {
        if (page.id != command->id)
            continue;
        out << "Usage: tarvik-cli [OPTIONS] " << page.synopsis << "\n" << page.summary << '\n';
        if (!page.details.empty())
            out << '\n' << page.details << '\n';
        out << "\nExamples:\n  " << page.examples << "\n\n" << kOptions << '\n' << kExitStatus;
    }
}

} // namespace tarvik::cli
