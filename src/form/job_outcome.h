// What the last job came to, kept as state by the engine while the job runs and after it
// ends: whoever started the job (the command line's exit status, the window's Abort line, a
// production log) reads it here, never from the log's texts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "protocol/codes.h"

namespace tarvik {

enum class JobResult : std::uint8_t {
    None,      // no job has started yet
    Running,   // started and not ended
    Succeeded, // ended with the success result
    Failed,    // ended with the error result
    Aborted,   // abandoned by the user (Action → Abort, closing the window)
    Unplugged, // the programmer went away while it ran
};

// The chip a signature named.
struct IdentifiedChip {
    std::string name; // as the chip edit shows it, "(5V)" and "(12V)" included
    std::array<std::uint8_t, 3> signature{};
    std::optional<std::int32_t> flashBytes; // nothing for "Device locked !"
    // How many log lines there were once the chip was named (its signature line the last),
    // so that a view can show the chip right after that line.
    std::size_t logLines = 0;
};

// How far the last data transfer of the job got: the bytes sent (write, verify) or received
// (read) of the total.
struct TransferProgress {
    std::uint8_t step = stIdle; // stWrite, stVerify or stRead
    std::int64_t done = 0;
    std::int64_t total = 0;
};

struct JobOutcome {
    std::uint8_t job = jobDetect; // a TRequestedJob
    JobResult result = JobResult::None;
    // The step in which the job failed (a TProtocolState; stIdle: before its first step), or
    // the one it was in when it was aborted or the programmer went; nothing while it has not
    // gone wrong.
    std::optional<std::uint8_t> failedStep;
    // The log line that says why the job failed (empty while it has not failed).
    std::string errorLine;
    std::optional<IdentifiedChip> chip;
    bool fusesRead = false; // the chip's fuse bytes arrived and are in the fuse list
    std::optional<TransferProgress> transfer;
    // A blank check that read the whole memory: the number of bytes that are not 0xFF.
    std::optional<std::size_t> notBlankBytes;

    bool ended() const { return result != JobResult::None && result != JobResult::Running; }
};

} // namespace tarvik
