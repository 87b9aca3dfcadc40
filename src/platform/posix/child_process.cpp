// Starting a program with posix_spawn, its output on two pipes.
#include "platform/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "common/user_error.h"

extern char** environ;

namespace tarvik::platform {

namespace {

struct Pipe {
    int read = -1;
    int write = -1;
};

Pipe makePipe() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        throw UserError(std::string("pipe: ") + std::strerror(errno));
    return {fds[0], fds[1]};
}

} // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args) {
    const Pipe out = makePipe();
    const Pipe err = makePipe();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out.write, 1);
    posix_spawn_file_actions_adddup2(&actions, err.write, 2);
    std::vector<char*> argv;
    std::string name = program;
    argv.push_back(name.data());
    std::vector<std::string> copies = args;
    for (std::string& arg : copies)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int failed =
        ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out.write);
    ::close(err.write);
    if (failed != 0) {
        ::close(out.read);
        ::close(err.read);
        throw UserError(program + ": " + std::strerror(failed));
    }
    process_ = pid;
    id_ = static_cast<std::uint32_t>(pid);
    out_ = out.read;
    err_ = err.read;
}

ChildProcess::~ChildProcess() {
    wait();
    ::close(static_cast<int>(out_));
    ::close(static_cast<int>(err_));
}

std::size_t ChildProcess::read(Stream stream, char* data, std::size_t size) {
    const int fd = static_cast<int>(stream == Stream::Out ? out_ : err_);
    for (;;) {
        const ssize_t got = ::read(fd, data, size);
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno != EINTR)
            return 0;
    }
}

void ChildProcess::interrupt() {
    if (!waited_)
        ::kill(static_cast<pid_t>(process_), SIGINT);
}

int ChildProcess::wait() {
    if (waited_)
        return status_;
    int status = 0;
    while (::waitpid(static_cast<pid_t>(process_), &status, 0) < 0 && errno == EINTR) {
    }
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    waited_ = true; // after the status, which a wait() on another thread then reads
    return status_;
}

std::string thisProgram() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).string();
}

} // namespace tarvik::platform
