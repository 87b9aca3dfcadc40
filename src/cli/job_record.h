// The production log's row for a job the command line ran, taken from the engine's outcome
// and the programmer it ran on, never from the log's texts.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "cli/production_log.h"
#include "form/main_form.h"

namespace tarvik::cli {

struct JobRun {
    std::string_view command; // the command's name
    std::string label;
    std::string node;
    std::chrono::system_clock::time_point started;
    std::chrono::milliseconds duration{0};
    bool succeeded = false;
    // Why it failed when the engine's outcome does not say (the programmer went, no answer).
    std::string error;
    // The image written or read; empty for a job that moves none.
    std::span<const std::uint8_t> image;
    std::string serial;
};

ProductionRecord productionRecord(const TMainForm& form, const JobRun& run);

} // namespace tarvik::cli
