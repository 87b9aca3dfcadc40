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

FuseWritePlan planFuseWrite(TMainForm& form, const std::vector<bool>& wanted) {
    const std::vector<bool> chip = fuseMarks(form.FuseList);
    FuseWritePlan plan;
    setFuseMarks(form.FuseList, wanted);
    plan.changes = fuseChanges(form);
    setFuseMarks(form.FuseList, chip);

    const std::vector<CheckListItem>& items = form.FuseList.items;
    std::vector<bool> fusesFirst = chip;
    for (std::size_t i = 0; i < items.size() && i < wanted.size(); ++i) {
        if (!isLockBitEntry(items[i].text))
            fusesFirst[i] = wanted[i];
    }
    std::vector<bool> all = fusesFirst;
    for (std::size_t i = 0; i < all.size() && i < wanted.size(); ++i)
        all[i] = wanted[i];
    if (fusesFirst != chip)
        plan.writes.push_back(fusesFirst);
    if (all != fusesFirst)
        plan.writes.push_back(std::move(all));
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
