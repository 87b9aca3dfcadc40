// Naming a chip from its three signature bytes: the chip name, the flash size text and the
// fuse list layout it gets. Rows are kept in the identification table's order.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tarvik::chips {

enum class FuseLayout : std::uint8_t {
    Untouched, // the AT89 rows and "Device locked !": the list keeps what it holds
    LockPair,
    StartupFuse, // X = variantA
    AT90S2333,
    ATtiny12,
    ATtiny15L,
    ATtiny13,
    ATtiny26,
    ATtiny2313,
    ATmega48,
    ATmega8, // A = variantA, B = variantB
    ATmega64,
    ATmega162,
    ATmega169,
    ATmega88,
    Socket, // the four entries the N90S1200 menu entry presets
};

struct ChipIdentity {
    bool named = false;        // false: the signature names no chip (ErrorFlag)
    std::string_view name;     // AutoDevice text
    std::string_view codeSize; // CodeSize text; empty when the row leaves CodeSize alone
    FuseLayout layout = FuseLayout::Untouched;
    std::string_view variantA;     // ATmega8 layout's A, start-up fuse layout's X
    std::string_view variantB;     // ATmega8 layout's B
    std::string_view socketRename; // with the socket entry checked: new text of position 3
};

ChipIdentity identify(std::uint8_t s1, std::uint8_t s2, std::uint8_t s3);

struct FuseListEntry {
    std::string_view text;
    bool locked = false; // added disabled: shows its mark, the user can't toggle it
};

// The entries of a layout in position order (empty for Untouched).
std::vector<FuseListEntry> fuseListLayout(FuseLayout layout, std::string_view variantA = {},
                                          std::string_view variantB = {});

} // namespace tarvik::chips
