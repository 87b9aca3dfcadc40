// The demo contents: an LED on port pin 0 blinking in a delay loop, as an AVR program and as an
// 8051 program, and a line of text naming the chip.
#include "emulator/demo_contents.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <string_view>

#include "protocol/codes.h"

namespace tarvik::emulator {
namespace {

// The few AVR instructions the blink program needs, encoded as the instruction set manual
// gives them (d, r: registers; io: I/O address; k: word offset from the next instruction).
constexpr std::uint16_t ldi(unsigned d, unsigned k) {
    return std::uint16_t(0xE000 | (k & 0xF0) << 4 | (d - 16) << 4 | (k & 0x0F));
}
constexpr std::uint16_t out(unsigned io, unsigned r) {
    return std::uint16_t(0xB800 | (io & 0x30) << 5 | r << 4 | (io & 0x0F));
}
constexpr std::uint16_t in(unsigned d, unsigned io) {
    return std::uint16_t(0xB000 | (io & 0x30) << 5 | d << 4 | (io & 0x0F));
}
constexpr std::uint16_t eor(unsigned d, unsigned r) {
    return std::uint16_t(0x2400 | (r & 0x10) << 5 | d << 4 | (r & 0x0F));
}
constexpr std::uint16_t dec(unsigned d) {
    return std::uint16_t(0x940A | d << 4);
}
constexpr std::uint16_t brne(int k) {
    return std::uint16_t(0xF401 | (unsigned(k) & 0x7F) << 3);
}
constexpr std::uint16_t rjmp(int k) {
    return std::uint16_t(0xC000 | (unsigned(k) & 0x0FFF));
}

// Port B's DDRB and PORTB I/O addresses: 0x17/0x18 on most AVRs, 0x04/0x05 on the chips with
// the newer I/O map.
struct PortB {
    unsigned ddr;
    unsigned port;
};
constexpr PortB kClassicPortB{0x17, 0x18};
constexpr PortB kNewerPortB{0x04, 0x05};
constexpr std::array<std::string_view, 5> kNewerIoMap{"ATmega48", "ATmega88", "ATmega168",
                                                      "ATmega165", "ATmega169"};

// Toggles PB0 forever, waiting 8 x 256 x 256 turns of the delay loop between toggles. Uses
// only instructions every AVR has, AT90S1200 and ATtiny12 included.
constexpr std::array<std::uint16_t, 13> avrBlink(PortB io) {
    return {
        ldi(16, 0x01),    // 0        ldi  r16, 1 << PB0
        out(io.ddr, 16),  // 1        out  DDRB, r16
        in(17, io.port),  // 2  loop: in   r17, PORTB
        eor(17, 16),      // 3        eor  r17, r16
        out(io.port, 17), // 4        out  PORTB, r17
        ldi(18, 8),       // 5        ldi  r18, 8
        dec(20),          // 6  wait: dec  r20
        brne(-2),         // 7        brne wait
        dec(19),          // 8        dec  r19
        brne(-4),         // 9        brne wait
        dec(18),          // 10       dec  r18
        brne(-6),         // 11       brne wait
        rjmp(-11),        // 12       rjmp loop
    };
}

// The same on an 8051: P1.0 toggled, three nested DJNZ loops between toggles.
constexpr std::array<std::uint8_t, 16> kMcs51Blink{
    0xB2, 0x90, // 0000 loop: cpl  P1.0
    0x7F, 0x08, // 0002       mov  R7, #8
    0x7E, 0x00, // 0004 d3:   mov  R6, #0
    0x7D, 0x00, // 0006 d2:   mov  R5, #0
    0xDD, 0xFE, // 0008 d1:   djnz R5, d1
    0xDE, 0xFA, // 000A       djnz R6, d2
    0xDF, 0xF6, // 000C       djnz R7, d3
    0x80, 0xF0, // 000E       sjmp loop
};

constexpr std::uint8_t familyBit(Family family) {
    return std::uint8_t(1U << static_cast<unsigned>(family));
}

// An AT89 answers on the AT89 families alone.
bool isMcs51(const VirtualChip& chip) {
    const std::uint8_t at89 = familyBit(Family::AT89Cx051) | familyBit(Family::AT89C5x);
    return (chip.families & ~at89) == 0;
}

// Copies as much of bytes as fits to the start of memory.
void place(std::vector<std::uint8_t>& memory, std::span<const std::uint8_t> bytes) {
    std::copy_n(bytes.begin(), std::min(bytes.size(), memory.size()), memory.begin());
}

void placeText(std::vector<std::uint8_t>& memory, const std::string& text) {
    place(memory, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

} // namespace

std::vector<std::uint8_t> demoMemory(const VirtualChip& chip) {
    std::vector<std::uint8_t> memory(chip.memorySize, 0xFF);
    if (chip.kind == ChipKind::SerialEeprom) {
        placeText(memory, std::string(chip.name) + " serial EEPROM on the Tarvik programmer\n");
    } else if (chip.kind == ChipKind::Microcontroller && isMcs51(chip)) {
        place(memory, kMcs51Blink);
    } else if (chip.kind == ChipKind::Microcontroller) {
        const bool newer = std::ranges::find(kNewerIoMap, chip.name) != kNewerIoMap.end();
        std::array<std::uint8_t, 2 * 13> bytes{};
        const auto words = avrBlink(newer ? kNewerPortB : kClassicPortB);
        for (std::size_t i = 0; i < words.size(); ++i) {
            bytes[2 * i] = std::uint8_t(words[i] & 0xFF); // AVR words are stored low byte first
            bytes[2 * i + 1] = std::uint8_t(words[i] >> 8);
        }
        place(memory, bytes);
    }
    return memory;
}

std::vector<std::uint8_t> demoEeprom(const VirtualChip& chip) {
    std::vector<std::uint8_t> eeprom(chip.eepromSize, 0xFF);
    placeText(eeprom, "Blink PB0\n");
    return eeprom;
}

} // namespace tarvik::emulator
