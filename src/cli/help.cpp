// The help pages: one row per command, in the order of the command table, each text in German,
// English and Russian; the synopses and examples are command lines and the same in every
// language.
#include "cli/help.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "cli/cli_texts.h"

namespace tarvik::cli {

namespace {

struct HelpPage {
    CommandId id;
    std::string_view synopsis;
    LangText summary;
    LangText details; // may be empty
    std::string_view examples;
};

constexpr std::array kHelpPages{
    HelpPage{CommandId::Detect,
             "detect",
             {"Den Chip an seiner Signatur erkennen.", "Identify the chip by its signature.",
              "Определить чип по его сигнатуре."},
             {"Zeigt Namen und Flash-Größe des Chips; bei AVR-Chips auch jedes Fuse- und Lock-Bit.",
              "Prints the chip's name and flash size; for AVR chips also every fuse and lock bit.",
              "Выводит имя чипа и размер flash; для чипов AVR также каждый fuse и lock бит."},
             "tarvik-cli detect\n  tarvik-cli --device 89C5x detect"},
    HelpPage{CommandId::Erase,
             "erase",
             {"Den Chip löschen.", "Erase the chip.", "Стереть чип."},
             {},
             "tarvik-cli erase\n  tarvik-cli --device 24AA256 erase"},
    HelpPage{
        CommandId::Write,
        "write FILE",
        {"Flash (oder serielles EEPROM) aus FILE programmieren.",
         "Program the flash (or serial EEPROM) from FILE.",
         "Записать flash (или последовательный EEPROM) из FILE."},
        {"FILE ist Intel HEX, wenn das drittletzte Zeichen seines Namens H ist (.hex), binär,\n"
         "wenn es B ist (.bin); jeder andere Name wird nach seinem Inhalt gelesen: Intel HEX\n"
         "(.ihx, .eep), Motorola-S-Record (.s19, .srec, ...) oder ELF (die .elf von avr-gcc,\n"
         "deren Flash genommen wird). Die CRC-32 des Abbilds folgt dem Namen des Chips. Eine\n"
         "ELF-Datei, die für die Signatur eines anderen Chips erstellt ist, wird abgelehnt,\n"
         "bevor etwas gelöscht wird, außer mit --force. Ein Mikrocontroller wird zuerst\n"
         "gelöscht; danach wird der Chip verglichen, außer mit --no-verify. Ein Abbild, das\n"
         "größer als der Chip ist, wird abgelehnt, bevor etwas gelöscht wird. Ein\n"
         "fehlgeschlagener Vergleich liest den Chip zurück und zeigt, wie viele Bytes\n"
         "abweichen, und die ersten zehn (0x01A3: chip 3F, buffer 7F).",
         "FILE is Intel HEX when the third character from the end of its name is H (.hex),\n"
         "binary when it is B (.bin); any other name is read by its content: Intel HEX\n"
         "(.ihx, .eep), Motorola S-record (.s19, .srec, ...) or ELF (avr-gcc's .elf, whose\n"
         "flash is taken). The image's CRC-32 follows the chip's name. An ELF file built for\n"
         "another chip's signature is refused before anything is erased, unless --force.\n"
         "A microcontroller is erased first; the chip is verified afterwards unless\n"
         "--no-verify is given. An image larger than the chip is refused before anything is\n"
         "erased. A failed verify reads the chip back and prints how many bytes differ and\n"
         "the first ten (0x01A3: chip 3F, buffer 7F).",
         "FILE — Intel HEX, если третий символ с конца его имени H (.hex), двоичный, если B\n"
         "(.bin); любое другое имя читается по содержимому: Intel HEX (.ihx, .eep), Motorola\n"
         "S-record (.s19, .srec, ...) или ELF (.elf от avr-gcc, из него берётся flash).\n"
         "CRC-32 образа выводится после имени чипа. Файл ELF, собранный для сигнатуры\n"
         "другого чипа, отклоняется до того, как что-либо стёрто, если не задан --force.\n"
         "Микроконтроллер сначала стирается; затем чип проверяется, если не задан\n"
         "--no-verify. Образ больше чипа отклоняется до того, как что-либо стёрто. При\n"
         "неудачной проверке чип читается обратно и выводится, сколько байт отличается, и\n"
         "первые десять (0x01A3: chip 3F, buffer 7F)."},
        "tarvik-cli write firmware.hex\n  tarvik-cli write firmware.elf\n"
        "  tarvik-cli --device 24AA64 --no-verify write data.bin"},
    HelpPage{
        CommandId::Verify,
        "verify FILE",
        {"Den Chip mit FILE vergleichen.", "Compare the chip with FILE.", "Сравнить чип с FILE."},
        {"Weicht der Chip ab, wird er zurückgelesen und mit FILE verglichen: die Anzahl\n"
         "der abweichenden Bytes und die ersten zehn werden gezeigt\n"
         "(0x01A3: chip 3F, buffer 7F).",
         "When the chip differs, it is read back and compared with FILE: the number of\n"
         "differing bytes and the first ten are printed (0x01A3: chip 3F, buffer 7F).",
         "Если чип отличается, он читается обратно и сравнивается с FILE: выводятся число\n"
         "отличающихся байт и первые десять (0x01A3: chip 3F, buffer 7F)."},
        "tarvik-cli verify firmware.hex"},
    HelpPage{CommandId::Read,
             "read FILE",
             {"Flash (oder serielles EEPROM) in FILE lesen.",
              "Read the flash (or serial EEPROM) into FILE.",
              "Прочитать flash (или последовательный EEPROM) в FILE."},
             {"FILE wird als Motorola-S-Record geschrieben, wenn sein Name auf .s19, .s28, .s37,\n"
              ".srec oder .mot endet, binär, wenn das drittletzte Zeichen seines Namens B ist,\n"
              "sonst als Intel HEX. Die CRC-32 des Abbilds wird gezeigt. Eine vorhandene Datei\n"
              "wird erst ersetzt, wenn die neue vollständig ist.",
              "FILE is written as Motorola S-record when its name ends in .s19, .s28, .s37,\n"
              ".srec or .mot, as binary when the third character from the end of its name is\n"
              "B, as Intel HEX otherwise. The image's CRC-32 is printed. An existing file is\n"
              "replaced only once the new one is complete.",
              "FILE записывается как Motorola S-record, если его имя оканчивается на .s19, .s28,\n"
              ".s37, .srec или .mot, как двоичный, если третий символ с конца его имени B, иначе\n"
              "как Intel HEX. Выводится CRC-32 образа. Существующий файл заменяется только\n"
              "когда новый записан полностью."},
             "tarvik-cli read backup.hex\n  tarvik-cli --device 24AA512 read eeprom.bin"},
    HelpPage{CommandId::WriteEeprom,
             "write-eeprom FILE",
             {"Daten-EEPROM eines AVR-Chips aus FILE programmieren.",
              "Program the data EEPROM of an AVR chip from FILE.",
              "Записать EEPROM данных чипа AVR из FILE."},
             {"FILE wird wie bei write gelesen; aus einer ELF-Datei (die .elf von avr-gcc) wird\n"
              "die Sektion .eeprom genommen.",
              "FILE is read as for write; of an ELF file (avr-gcc's .elf) the .eeprom section\n"
              "is taken.",
              "FILE читается так же, как для write; из файла ELF (.elf от avr-gcc) берётся\n"
              "секция .eeprom."},
             "tarvik-cli write-eeprom settings.hex"},
    HelpPage{CommandId::ReadEeprom,
             "read-eeprom FILE",
             {"Daten-EEPROM eines AVR-Chips in FILE lesen.",
              "Read the data EEPROM of an AVR chip into FILE.",
              "Прочитать EEPROM данных чипа AVR в FILE."},
             {},
             "tarvik-cli read-eeprom settings.bin"},
    HelpPage{CommandId::ReadFuses,
             "read-fuses",
             {"Jedes Fuse- und Lock-Bit des Chips zeigen.",
              "Print every fuse and lock bit of the chip.", "Вывести каждый fuse и lock бит чипа."},
             {"Jeder Eintrag der Fuse-Liste des Chips mit seinem Zustand, programmiert oder\n"
              "unprogrammiert; Einträge, die sich nicht ändern lassen, sind als gesperrt\n"
              "markiert.",
              "Each entry of the chip's fuse list with its state, programmed or unprogrammed;\n"
              "entries that cannot be changed are marked locked.",
              "Каждый пункт списка fuse битов чипа с его состоянием, запрограммирован или нет;\n"
              "пункты, которые нельзя изменить, отмечены как заблокированные."},
             "tarvik-cli read-fuses"},
    HelpPage{
        CommandId::WriteFuses,
        "write-fuses NAME=0|1 ... | --from FILE",
        {"Fuse- und Lock-Bits ändern.", "Change fuse and lock bits.", "Изменить fuse и lock биты."},
        {"Erkennt den Chip, liest seine Fuses, setzt die genannten Einträge (1 = programmiert)\n"
         "und schreibt sie. NAME ist der Eintrag, wie read-fuses ihn zeigt, in beliebiger\n"
         "Groß- und Kleinschreibung; Namen mit Leerzeichen in Anführungszeichen setzen.\n"
         "Unbekannte Namen und gesperrte Einträge werden abgelehnt, bevor etwas geschrieben\n"
         "wird; hat jeder Eintrag schon seinen Wert, wird nichts geschrieben. Lock-Bits werden\n"
         "nach den Fuses geschrieben, da ein gesperrter Chip keine Fuse-Änderung mehr annimmt.\n"
         "Jede Änderung wird mit altem und neuem Zustand gezeigt. Eine Änderung, die Sie vom\n"
         "Chip aussperrt (RSTDISBL oder DWEN programmiert, SPIEN unprogrammiert, ein Lock-Bit\n"
         "programmiert), wird ohne --force abgelehnt. Danach werden die Fuses zurückgelesen,\n"
         "und jeder Eintrag, den der Chip nicht übernommen hat, wird genannt (Exit-Status 1).\n"
         "--from FILE nimmt statt NAME=0|1 die Fuse- und Lock-Bytes einer ELF-Datei (die\n"
         "Sektionen .fuse und .lock von avr-gcc); eine Datei, die für die Signatur eines\n"
         "anderen Chips erstellt ist, wird ohne --force abgelehnt.",
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
         "Определяет чип, читает его fuse биты, устанавливает названные пункты\n"
         "(1 = запрограммирован) и записывает их. NAME — пункт, как его показывает\n"
         "read-fuses, в любом регистре; имена с пробелами заключайте в кавычки. Неизвестные\n"
         "имена и заблокированные пункты отклоняются до какой-либо записи; если у каждого\n"
         "пункта уже есть его значение, ничего не записывается. Lock биты записываются после\n"
         "fuse битов, так как заблокированный чип не принимает изменений fuse. Каждое\n"
         "изменение выводится со старым и новым состоянием. Изменение, которое закрывает\n"
         "доступ к чипу (RSTDISBL или DWEN запрограммирован, SPIEN не запрограммирован,\n"
         "запрограммирован lock бит), отклоняется без --force. После записи fuse биты\n"
         "читаются обратно, и каждый пункт, который чип не принял, называется (код выхода 1).\n"
         "--from FILE берёт вместо NAME=0|1 байты fuse и lock из файла ELF (секции .fuse и\n"
         ".lock от avr-gcc); файл, собранный для сигнатуры другого чипа, отклоняется без\n"
         "--force."},
        "tarvik-cli write-fuses EESAVE=1 BOOTRST=0\n"
        "  tarvik-cli --force write-fuses \"Lock bit 1=1\" \"Lock bit 2=1\"\n"
        "  tarvik-cli write-fuses --from firmware.elf"},
    HelpPage{CommandId::BlankCheck,
             "blank-check [--eeprom]",
             {"Prüfen, ob der Chip leer ist.", "Check that the chip is blank.",
              "Проверить, что чип чистый."},
             {"Liest den Flash (oder das serielle EEPROM; mit --eeprom das Daten-EEPROM eines\n"
              "AVR-Chips) und zeigt \"leer\", wenn jedes Byte 0xFF ist. Sonst zeigt es, wie viele\n"
              "Bytes es nicht sind, und die ersten zehn (0x01A3: 3F); der Exit-Status ist dann 1.",
              "Reads the flash (or serial EEPROM; with --eeprom the data EEPROM of an AVR chip)\n"
              "and prints \"blank\" when every byte is 0xFF. Otherwise prints how many bytes are\n"
              "not and the first ten (0x01A3: 3F), and the exit status is 1.",
              "Читает flash (или последовательный EEPROM; с --eeprom EEPROM данных чипа AVR) и\n"
              "выводит \"чистый\", если каждый байт 0xFF. Иначе выводит, сколько байт не такие,\n"
              "и первые десять (0x01A3: 3F); код выхода тогда 1."},
             "tarvik-cli blank-check\n  tarvik-cli --eeprom blank-check\n"
             "  tarvik-cli --device 24AA256 blank-check"},
    HelpPage{CommandId::Convert,
             "convert IN OUT",
             {"Intel-HEX-, S-Record- und Binärdateien umwandeln.",
              "Convert between Intel HEX, S-record and binary files.",
              "Преобразовать файлы Intel HEX, S-record и двоичные."},
             {"IN wird gelesen, wie write FILE liest (bei einer ELF-Datei deren Flash); OUT wird\n"
              "geschrieben, wie read FILE schreibt. Die CRC-32 des Geschriebenen wird gezeigt.",
              "IN is read as write reads FILE (an ELF file's flash); OUT is written as read\n"
              "writes FILE. The CRC-32 of what was written is printed.",
              "IN читается так же, как write читает FILE (у файла ELF — его flash); OUT\n"
              "записывается так же, как read записывает FILE. Выводится CRC-32 записанного."},
             "tarvik-cli convert firmware.hex firmware.bin"},
    HelpPage{
        CommandId::ServeEmulator,
        "serve-emulator --socket PATH|--uhid [--chip NAME] [--latency usb|none|Nms]",
        {"Ein virtuelles Programmiergerät anbieten, bis es unterbrochen wird.",
         "Serve a virtual programmer until interrupted.",
         "Предоставлять виртуальный программатор до прерывания."},
        {"--socket: an einem UNIX-Domain-Socket; ein anderes tarvik-cli (oder das Fenster)\n"
         "erreicht es mit --programmer socket:PATH. --uhid: als USB-HID-Gerät, das der\n"
         "Linux-Kernel über /dev/uhid anlegt (das Modul uhid; root oder eine udev-Regel für\n"
         "/dev/uhid), das jeder Client findet wie das echte Programmiergerät; Unterbrechen\n"
         "trennt das Gerät.\n"
         "--chip nennt den virtuellen Chip darin (Vorgabe ATmega8; list-devices zeigt sie);\n"
         "--latency usb antwortet an den Rahmengrenzen von USB Full Speed (die Vorgabe mit\n"
         "--uhid), --latency Nms ebenso mit N ms (1 bis 1000) zwischen zwei Berichten, für\n"
         "Clients auf einem langsamen Rechner, --latency none sofort.\n"
         "--unplug-after N trennt sich beim N-ten Ausgabebericht vom Bus.\n"
         "Für Tests, mit --uhid: --vendor HEX und --product HEX geben andere Kennungen (ein\n"
         "fremdes Gerät), --report-bytes N Berichte von N statt 64 Byte, und --events FILE\n"
         "notiert alles, was der Kernel mit dem Gerät tut (angelegt, geöffnet, geschlossen,\n"
         "getrennt), mit den Sekunden der monotonen Uhr.",
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
         "--socket: на UNIX-сокете; другой tarvik-cli (или окно) находит его через\n"
         "--programmer socket:PATH. --uhid: как USB HID устройство, созданное ядром Linux\n"
         "через /dev/uhid (модуль uhid; root или правило udev для /dev/uhid), которое любой\n"
         "клиент находит так же, как настоящий программатор; прерывание отключает устройство.\n"
         "--chip задаёт виртуальный чип в нём (по умолчанию ATmega8; список: list-devices);\n"
         "--latency usb отвечает на границах кадров USB full speed (по умолчанию с --uhid),\n"
         "--latency Nms так же с N мс (от 1 до 1000) между двумя отчётами, для клиентов на\n"
         "медленной машине, --latency none сразу.\n"
         "--unplug-after N отключается от шины на N-м выходном отчёте.\n"
         "Для тестов, с --uhid: --vendor HEX и --product HEX задают другие идентификаторы\n"
         "(чужое устройство), --report-bytes N — отчёты по N байт вместо 64, а --events FILE\n"
         "записывает каждое действие ядра с устройством (создано, открыто, закрыто,\n"
         "отключено) с секундами монотонных часов."},
        "tarvik-cli serve-emulator --socket /tmp/prog.sock --chip ATtiny2313\n"
        "  sudo tarvik-cli serve-emulator --uhid --chip ATmega128"},
    HelpPage{
        CommandId::ListDevices,
        "list-devices",
        {"Einträge, Chips und Programmiergeräte auflisten.",
         "List entries, chips and attached programmers.",
         "Показать пункты, чипы и подключённые программаторы."},
        {"Zeigt die Einträge des Device-Menüs, die --device wählt, die erkennbaren Chips, die\n"
         "virtuellen Chips und jedes jetzt angeschlossene Programmiergerät mit Knotenpfad und\n"
         "Identität (beides wählt es mit --programmer hid:PATH).",
         "Shows the Device menu entries --device selects, the chips that can be identified,\n"
         "the virtual chips, and each programmer attached now as its node path and identity\n"
         "(either one picks it with --programmer hid:PATH).",
         "Показывает пункты меню Device, которые выбирает --device, чипы, которые можно\n"
         "определить, виртуальные чипы и каждый подключённый сейчас программатор с путём узла\n"
         "и идентификатором (любой из них выбирает его через --programmer hid:PATH)."},
        "tarvik-cli list-devices\n  tarvik-cli --programmer hid:/dev/hidraw3 detect"},
};

} // namespace

void printHelp(std::ostream& out, const CommandInfo* command, std::uint8_t language) {
    const auto say = [language](const LangText& text) { return pick(text, language); };
    if (command == nullptr) {
        out << say(texts::kHelpUsage) << " tarvik-cli [OPTIONS] COMMAND [ARGS]\n"
            << say(texts::kHelpAbout) << "\n\n"
            << say(texts::kHelpCommands) << '\n';
        for (const HelpPage& page : kHelpPages) {
            std::string synopsis(page.synopsis);
            synopsis.resize(std::max<std::size_t>(synopsis.size() + 1, 26), ' ');
            out << "  " << synopsis << say(page.summary) << '\n';
        }
        out << '\n'
            << say(texts::kHelpOptions) << '\n'
            << say(texts::kHelpExitStatus) << '\n'
            << say(texts::kHelpExamples)
            << "\n  tarvik-cli write firmware.hex\n"
               "  tarvik-cli --device 24AA256 read dump.bin\n"
               "  tarvik-cli --quiet --wait 10 write-fuses EESAVE=1\n";
        return;
    }
    for (const HelpPage& page : kHelpPages) {
        if (page.id != command->id)
            continue;
        out << say(texts::kHelpUsage) << " tarvik-cli [OPTIONS] " << page.synopsis << "\n"
            << say(page.summary) << '\n';
        if (!say(page.details).empty())
            out << '\n' << say(page.details) << '\n';
        out << '\n'
            << say(texts::kHelpExamples) << "\n  " << page.examples << "\n\n"
            << say(texts::kHelpOptions) << '\n'
            << say(texts::kHelpExitStatus);
    }
}

} // namespace tarvik::cli
