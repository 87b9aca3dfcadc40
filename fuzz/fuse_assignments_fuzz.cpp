// write-fuses' NAME=0|1 assignments on any arguments, against the fuse list of any chip. The
// first byte picks the family, the next three are the signature the chip answered, the rest
// are the arguments (NUL bytes separate them). Assignments that are taken name each entry
// once; once none is refused, applying them leaves every named entry as it asks.
#include <array>

#include "cli/device_names.h"
#include "cli/fuse_assignments.h"
#include "fuzz_input.h"
#include "fuzz_window.h"

namespace {

using namespace tarvik;

constexpr void (TMainForm::*kFamilies[])() = {
    &TMainForm::n89Cx051Click, &TMainForm::n89C5xClick,  &TMainForm::n89SxxClick,
    &TMainForm::N90S1200Click, &TMainForm::nAVRISPClick,
};

bool isMarked(const CheckList& list, std::string_view name, bool programmed) {
    for (const CheckListItem& item : list.items) {
        if (cli::sameIgnoringCase(item.text, name))
            return item.checked == programmed; // the first entry of that name is the one set
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    fuzz::FuzzWindow window(nullptr);
    TMainForm& form = window.form();
    (form.*kFamilies[input.choice(std::size(kFamilies))])();
    std::array<std::uint8_t, 4> signature{rspSignature};
    for (std::size_t i = 1; i < signature.size(); ++i)
        signature[i] = input.byte();
    form.IdentifyChip(signature.data(), signature.size());

    const std::vector<std::string> args = input.arguments();
    const cli::ParsedAssignments parsed = cli::parseFuseAssignments(args);
    if (parsed.error) {
        fuzz::require(!cli::describe(*parsed.error, 1).empty(), "a refused assignment is told");
        return 0;
    }
    fuzz::require(parsed.assignments.size() <= args.size(), "one assignment per argument");
    for (std::size_t i = 0; i < parsed.assignments.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j)
            fuzz::require(
                !cli::sameIgnoringCase(parsed.assignments[i].name, parsed.assignments[j].name),
                "each entry is assigned once");
    }
    if (const auto refused = cli::refuseFuseAssignments(form, parsed.assignments)) {
        fuzz::require(!cli::describe(*refused, 1).empty(), "a refused assignment is told");
        return 0;
    }
    const std::size_t changed = cli::applyFuseAssignments(form, parsed.assignments);
    fuzz::require(changed <= parsed.assignments.size(), "each assignment changes one entry");
    for (const cli::FuseAssignment& assignment : parsed.assignments)
        fuzz::require(isMarked(form.FuseList, assignment.name, assignment.programmed),
                      "an applied assignment leaves its entry as it asks");
    fuzz::require(cli::fuseListLines(form.FuseList, 1).size() == form.FuseList.items.size(),
                  "the list shows one line per entry");
    return 0;
}
