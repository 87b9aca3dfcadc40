// The identification table: signature → chip name, flash size text and fuse list layout, kept
// as data in the order the rows are tried.
#include "chips/identification.h"

#include <array>

namespace tarvik::chips {
namespace {

// How a row looks at one signature byte.
struct SigByte {
    enum class Test : std::uint8_t { Any, Is, IsNot };
    Test test = Test::Any;
    std::uint8_t value = 0;

    constexpr bool matches(std::uint8_t b) const {
        switch (test) {
        case Test::Is:
            return b == value;
        case Test::IsNot:
            return b != value;
        case Test::Any:
            break;
        }
        return true;
    }
};

constexpr SigByte any{};
constexpr SigByte is(std::uint8_t v) {
    return {SigByte::Test::Is, v};
}
constexpr SigByte isNot(std::uint8_t v) {
    return {SigByte::Test::IsNot, v};
}

struct IdentRow {
    SigByte s1, s2, s3;
    ChipIdentity result; // named = false: the signature is a failure
};

using L = FuseLayout;
constexpr ChipIdentity failure{};

constexpr ChipIdentity at89(std::string_view name, std::string_view size) {
    return {true, name, size, L::Untouched, {}, {}, {}};
}
constexpr ChipIdentity avr(std::string_view name, std::string_view size, FuseLayout layout,
                           std::string_view a = {}, std::string_view b = {}) {
    return {true, name, size, layout, a, b, {}};
}
// AT90S1200 / AT90S2313: renamed position 3 in the socket, the lock pair over ISP.
constexpr ChipIdentity socketChip(std::string_view name, std::string_view size,
                                  std::string_view rename) {
    return {true, name, size, L::LockPair, {}, {}, rename};
}

constexpr auto kIdentTable = std::to_array<IdentRow>({
    {is(0x1E), is(0x11), any, at89("AT89C1051", "1024")},
    {is(0x1E), is(0x21), any, at89("AT89C2051", "2048")},
    {is(0x1E), is(0x41), any, at89("AT89C4051", "4096")},
    {is(0x1E), is(0x51), any, at89("AT89C51", "4096")},
    {is(0x1E), is(0x52), any, at89("AT89C52", "8192")},
    {is(0x1E), is(0x53), any, at89("AT89S53", "12288")},
    {is(0x1E), is(0x55), any, at89("AT89C55", "20480")},
    {is(0x1E), is(0x61), any, at89("AT89LV51", "4096")},
    {is(0x1E), is(0x62), any, at89("AT89LV52", "8192")},
    {is(0x1E), is(0x65), any, at89("AT89LV55", "20480")},
    {is(0x1E), is(0x72), any, at89("AT89S8252", "10240")},
    {is(0x1E), is(0x90), is(0x01), socketChip("AT90S1200", "1024", "RCEN")},
    {is(0x1E), is(0x90), is(0x05), avr("ATtiny12", "1024", L::ATtiny12)},
    {is(0x1E), is(0x90), is(0x06), avr("ATtiny15L", "1024", L::ATtiny15L)},
    {is(0x1E), is(0x90), is(0x07), avr("ATtiny13", "1024", L::ATtiny13)},
    {is(0x1E), is(0x91), is(0x01), socketChip("AT90S2313", "2048", "FSTRT")},
    {is(0x1E), is(0x91), is(0x02), avr("AT90S/LS2323", "2048", L::StartupFuse, "FSTRT")},
    {is(0x1E), is(0x91), is(0x03), avr("AT90S/LS2343", "2048", L::StartupFuse, "RCEN")},
    {is(0x1E), is(0x91), is(0x05), avr("AT90S/LS2333", "2048", L::AT90S2333)},
    {is(0x1E), is(0x91), is(0x06), avr("ATtiny22", "2048", L::StartupFuse, "RCEN")},
    {is(0x1E), is(0x91), is(0x09), avr("ATtiny26", "2048", L::ATtiny26)},
    {is(0x1E), is(0x91), is(0x0A), avr("ATtiny2313", "2048", L::ATtiny2313)},
    {is(0x1E), is(0x92), is(0x03), avr("AT90S/LS4433", "4096", L::AT90S2333)},
    {is(0x1E), is(0x92), is(0x05), avr("ATmega48", "4096", L::ATmega48)},
    {is(0x1E), is(0x93), is(0x01), avr("AT90S8515", "8192", L::LockPair)},
    {is(0x1E), is(0x93), is(0x03), avr("AT90S/LS8535", "8192", L::StartupFuse, "FSTRT")},
    {is(0x1E), is(0x93), is(0x06),
     avr("ATmega8515", "8192", L::ATmega8, "S8515C", "WDT always on")},
    {is(0x1E), is(0x93), is(0x07), avr("ATmega8", "8192", L::ATmega8, "RSTDISBL", "WDT always on")},
    {is(0x1E), is(0x93), is(0x08),
     avr("ATmega8535", "8192", L::ATmega8, "S8535C", "WDT always on")},
    {is(0x1E), is(0x93), is(0x0A), avr("ATmega88", "8192", L::ATmega88)},
    {is(0x1E), is(0x94), is(0x03),
     avr("ATmega16", "16384", L::ATmega8, "Enable OCD", "Enable JTAG")},
    {is(0x1E), is(0x94), is(0x04), avr("ATmega162", "16384", L::ATmega162)},
    {is(0x1E), is(0x94), is(0x05), avr("ATmega169", "16384", L::ATmega169)},
    {is(0x1E), is(0x94), is(0x06), avr("ATmega168", "16384", L::ATmega88)},
    {is(0x1E), is(0x94), is(0x07), avr("ATmega165", "16384", L::ATmega169)},
    {is(0x1E), is(0x95), is(0x02),
     avr("ATmega32", "32768", L::ATmega8, "Enable OCD", "Enable JTAG")},
    {is(0x1E), is(0x96), is(0x02), avr("ATmega64", "65536", L::ATmega64)},
    {is(0x1E), is(0x97), is(0x02), avr("ATmega128", "131072", L::ATmega64)},
    {is(0x1E), any, any, failure},
    {is(0x00), is(0x01), is(0x02), {true, "Device locked !", {}, L::Untouched, {}, {}, {}}},
    {isNot(0x1E), is(0x21), any, at89("AT89C2051", "2048")},
    {isNot(0x1E), is(0x41), any, at89("AT89C4051", "4096")},
    {isNot(0x1E), any, any, failure},
});

} // namespace

ChipIdentity identify(std::uint8_t s1, std::uint8_t s2, std::uint8_t s3) {
    for (const IdentRow& row : kIdentTable) {
        if (row.s1.matches(s1) && row.s2.matches(s2) && row.s3.matches(s3))
            return row.result;
    }
    return failure; // not reached: the last row takes every S1 but 0x1E
}

} // namespace tarvik::chips
