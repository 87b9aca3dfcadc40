// Planning a fuse change: the lock-out judgement of the whole change, the order of the writes,
// and the comparison with the fuses read back.
#include "operations/fuse_write_plan.h"

#include <cctype>

#include "operations/engine_support.h"

namespace tarvik::engine {

bool isLockBitEntry(std::string_view text) {
    constexpr std::string_view kLockBit = "lock bit";
    for (std::size_t i = 0; i + kLockBit.size() <= text.size(); ++i) {
        bool same = true;
        for (std::size_t k = 0; k < kLockBit.size() && same; ++k) {
            same = std::tolower(static_cast<unsigned char>(text[i + k])) == kLockBit[k];
        }
        if (same)
            return true;
    }
    return false;
}

FuseWritePlan planFuseWrite(const TMainForm& form) {
    const std::vector<CheckListItem>& items = form.FuseList.items;
    const std::vector<bool> wanted = fuseMarks(form.FuseList);
    const bool known = form.ChipFuseMarks && form.ChipFuseMarks->size() == items.size();
    FuseWritePlan plan;
    plan.changes = fuseChanges(form);

    std::vector<bool> fusesFirst = known ? *form.ChipFuseMarks : std::vector<bool>(items.size());
    bool anyFuse = false;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!isLockBitEntry(items[i].text)) {
            fusesFirst[i] = wanted[i];
            anyFuse = true;
        }
    }
    if (known ? fusesFirst != *form.ChipFuseMarks : anyFuse)
        plan.writes.push_back(fusesFirst);
    if (wanted != fusesFirst)
        plan.writes.push_back(wanted);
    return plan;
}

std::vector<FuseNotTaken> fusesNotTaken(const std::vector<bool>& written,
                                        const CheckList& readBack) {
    std::vector<FuseNotTaken> notTaken;
    for (std::size_t i = 0; i < readBack.items.size() && i < written.size(); ++i) {
        if (readBack.items[i].checked != written[i])
            notTaken.push_back({i, written[i], readBack.items[i].checked});
    }
    return notTaken;
}

} // namespace tarvik::engine
