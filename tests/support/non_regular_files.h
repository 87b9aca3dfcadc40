// Entries in a folder that are no regular files, for the tests that check such a name is refused
// at once instead of being waited on: a folder everywhere, and what the system adds.
#pragma once

#include <string>
#include <vector>

namespace tarvik::test {

// Makes them in folder (which must exist) and returns their full names.
std::vector<std::string> makeNonRegularFiles(const std::string& folder);

} // namespace tarvik::test
