// A fuse change made safely, as one plan for everyone who writes fuses: the whole change is
// judged for lock-out before the first write; the lock bits go in a write of their own after
// the fuses, since once lock bit 1 is programmed the chip takes no further fuse change and a
// write carries the lock byte first; and after the writes the fuses read back are compared
// with what was written.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "form/main_form.h"
#include "operations/fuse_changes.h"

namespace tarvik::engine {

// Whether a fuse list entry is one of the lock bits ("Lock bit 1", "Boot lock bit 02", ...).
bool isLockBitEntry(std::string_view text);

struct FuseWritePlan {
    std::vector<FuseChange> changes; // the whole change against the chip's state
    // The fuse list's marks for each write in turn: the fuses, then the lock bits; a write
    // that would change nothing is left out, so no change means no write.
    std::vector<std::vector<bool>> writes;
};

// The plan that takes the chip from the marks the fuse list holds now (what the chip reported)
// to the wanted ones; the list is left as it was.
FuseWritePlan planFuseWrite(TMainForm& form, const std::vector<bool>& wanted);

// An entry the chip did not take: its position, the state written and the state read back.
struct FuseNotTaken {
    std::size_t index;
    bool written;
    bool readBack;
};
std::vector<FuseNotTaken> fusesNotTaken(const std::vector<bool>& written,
                                        const CheckList& readBack);

} // namespace tarvik::engine
