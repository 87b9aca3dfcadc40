// Another program started with its standard output and standard error on pipes of their own,
// for running one job per programmer in a process of its own.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvik::platform {

class ChildProcess {
public:
    enum class Stream { Out, Err };

    // Starts program with the arguments (UTF-8). Throws UserError naming the program when it
    // cannot be started.
    ChildProcess(const std::string& program, const std::vector<std::string>& args);
    // Waits for the program to end if wait() was not called.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Blocks until the program wrote something on that stream; up to size bytes into data.
    // 0 once the stream has ended. Each stream may be read on a thread of its own.
    std::size_t read(Stream stream, char* data, std::size_t size);
    // Asks the program to stop as Ctrl+C would (SIGINT; on Windows Ctrl+Break).
    void interrupt();
    // Waits for the program to end and gives its exit status (128 + the signal that ended it).
    int wait();

private:
    std::intptr_t process_ = -1; // the process id or handle
    std::uint32_t id_ = 0;       // the process id
    std::intptr_t out_ = -1;     // the reading ends of the pipes
    std::intptr_t err_ = -1;
    // Set by wait(), which may run on another thread than interrupt().
    std::atomic<bool> waited_{false};
    int status_ = 0;
};

// The path of the running program, to start it again.
std::string thisProgram();

} // namespace tarvik::platform
