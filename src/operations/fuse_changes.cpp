// Comparing the fuse list's marks with the chip's state, and the consequences of the entries
// that shut the programmer out.
#include "operations/fuse_changes.h"

#include <algorithm>
#include <string_view>

#include "buffer/buffer_texts.h"
#include "operations/job_texts.h"

namespace tarvik::engine {

namespace {

// Entries whose change shuts the programmer out, and the state that does it. SPIEN counts only
// where the user can change it over ISP (ATtiny12, ATtiny15L): unprogrammed, the chip no
// longer listens to serial programming. Boot lock bits only guard the boot section against
// the chip's own code and are not among them.
struct LockOutRow {
    std::string_view entry;
    bool programmed; // the state that locks out
    bool ispOnly;
    LockOut lockOut;
};

constexpr LockOutRow kLockOutRows[] = {
    {"RSTDISBL", true, false, LockOut::Isp},      {"DWEN", true, false, LockOut::Isp},
    {"SPIEN", false, true, LockOut::Isp},         {"Lock bit 1", true, false, LockOut::Access},
    {"Lock bit 2", true, false, LockOut::Access},
};

LockOut lockOutOf(const TMainForm& form, const CheckListItem& item, bool after) {
    for (const LockOutRow& row : kLockOutRows) {
        if (row.entry == item.text && row.programmed == after && item.enabled &&
            (!row.ispOnly || form.nAVRISP.checked)) {
            return row.lockOut;
        }
    }
    return LockOut::None;
}

std::string_view stateText(bool programmed, std::uint8_t language) {
    return pick(programmed ? texts::kProgrammed : texts::kUnprogrammed, language);
}

} // namespace

std::vector<FuseChange> fuseChanges(const TMainForm& form) {
    const std::vector<CheckListItem>& items = form.FuseList.items;
    const bool known = form.ChipFuseMarks && form.ChipFuseMarks->size() == items.size();
    std::vector<FuseChange> changes;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const bool after = items[i].checked;
        const std::optional<bool> before =
            known ? std::optional<bool>((*form.ChipFuseMarks)[i]) : std::nullopt;
        if (before != after) {
            changes.push_back({i, before, after, lockOutOf(form, items[i], after)});
        }
    }
    return changes;
}

bool locksOut(std::span<const FuseChange> changes) {
    return std::ranges::any_of(changes,
                               [](const FuseChange& c) { return c.lockOut != LockOut::None; });
}

std::vector<std::string> fuseChangeLines(const CheckList& list, std::span<const FuseChange> changes,
                                         std::uint8_t language) {
    std::vector<std::string> lines;
    for (const FuseChange& change : changes) {
        const std::string_view before =
            change.before ? stateText(*change.before, language) : pick(texts::kNotRead, language);
        lines.push_back(fillIn(texts::kFuseChange, {list.items[change.index].text, before,
                                                    stateText(change.after, language)}));
    }
    return lines;
}

std::vector<std::string> lockOutLines(const CheckList& list, std::span<const FuseChange> changes,
                                      std::uint8_t language) {
    std::vector<std::string> lines;
    for (const FuseChange& change : changes) {
        if (change.lockOut == LockOut::None) {
            continue;
        }
        const LangText& consequence =
            change.lockOut == LockOut::Isp ? texts::kLockOutIsp : texts::kLockOutAccess;
        lines.push_back(fillIn(pick(consequence, language),
                               {list.items[change.index].text, stateText(change.after, language)}));
    }
    return lines;
}

} // namespace tarvik::engine
