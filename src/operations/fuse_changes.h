// What a fuse write changes on the chip: each entry whose mark differs from the chip's state,
// and the changes that can lock the user out (no more ISP programming, or no more reading and
// writing until a chip erase). The window logs the changes and asks before such a write; the
// command line refuses it without --force.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "form/main_form.h"

namespace tarvik::engine {

enum class LockOut : std::uint8_t {
    None,
    Isp,    // RSTDISBL or DWEN programmed, SPIEN unprogrammed: no more ISP programming
    Access, // a lock bit programmed: no more reading or writing until a chip erase
};

struct FuseChange {
    std::size_t index;          // fuse list position
    std::optional<bool> before; // programmed on the chip; nothing when not known
    bool after;                 // programmed by the write
    LockOut lockOut;
};

// The entries the marks change against ChipFuseMarks; every entry when the chip's state is not
// known.
std::vector<FuseChange> fuseChanges(const TMainForm& form);
bool locksOut(std::span<const FuseChange> changes);

// One line per change: "NAME: old → new".
std::vector<std::string> fuseChangeLines(const CheckList& list, std::span<const FuseChange> changes,
                                         std::uint8_t language);
// One line per change that locks out, with its consequence.
std::vector<std::string> lockOutLines(const CheckList& list, std::span<const FuseChange> changes,
                                      std::uint8_t language);

} // namespace tarvik::engine
