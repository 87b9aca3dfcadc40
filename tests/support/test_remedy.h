// The advice the tests' backends give for a programmer that opens for queries only: two lines
// that show which language was asked for, whatever this machine has installed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarvik::scenario {

inline std::vector<std::string> testAccessRemedy(std::uint8_t languageCode) {
    return {"Remedy in language " + std::to_string(languageCode) + ":", "    remedy-command"};
}

} // namespace tarvik::scenario
