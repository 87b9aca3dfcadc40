// The fuse list on the command line: the entries shown with their states, and the assignments
// NAME=0|1 of write-fuses checked against the list and applied to it as a user toggles marks.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_options.h"
#include "form/main_form.h"

namespace tarvik::cli {

struct FuseAssignment {
    std::string name;
    bool programmed; // 1: programmed, the entry checked
};

// Parses every argument "NAME=0" or "NAME=1" (the name as the fuse list shows it, any letter
// case, blanks allowed). On the first one that is malformed or contradicts an earlier one,
// gives the usage error instead.
struct ParsedAssignments {
    std::vector<FuseAssignment> assignments;
    std::optional<UsageError> error;
};
ParsedAssignments parseFuseAssignments(std::span<const std::string> args);

// Sets the entries as the assignments say, each change through the list's check handler as
// if the user had toggled it. Refuses before changing anything when a name is not in the list
// or names a locked entry. Returns the number of entries changed.
struct FuseChange {
    std::size_t changed = 0;
    std::optional<UsageError> refused;
};
FuseChange applyFuseAssignments(TMainForm& form, std::span<const FuseAssignment> assignments);

// One line per fuse list entry: its text, programmed or unprogrammed, locked entries marked.
std::vector<std::string> fuseListLines(const CheckList& list, std::uint8_t language);

} // namespace tarvik::cli
