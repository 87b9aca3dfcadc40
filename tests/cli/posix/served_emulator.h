// `tarvik-cli serve-emulator` in a child process, for the tests that reach a programmer in
// another process through its socket.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace tarvik::cli::test {

// `tarvik-cli serve-emulator` in a child process, ready once it has said so.
class ServedEmulator {
public:
    // userId: the user it runs as (a root test process only); -1 keeps ours.
    explicit ServedEmulator(std::vector<std::string> args, int userId = -1) {
        args.insert(args.begin(), {TARVIK_CLI_PATH, "serve-emulator"});
        int output[2];
        if (::pipe(output) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            if (userId >= 0 && (::setgid(gid_t(userId)) != 0 || ::setuid(uid_t(userId)) != 0))
                ::_exit(126);
            ::dup2(output[1], STDOUT_FILENO);
            ::close(output[0]);
            std::vector<char*> argv;
            for (std::string& arg : args)
                argv.push_back(arg.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(output[1]);
        // The first line comes once the socket listens; end of file means it gave up.
        char c = 0;
        while (::read(output[0], &c, 1) == 1 && c != '\n')
            firstLine_ += c;
        ::close(output[0]);
    }
    ~ServedEmulator() { stop(); }

    const std::string& firstLine() const { return firstLine_; }

    // Ends it as Ctrl+C would; its exit status, or -1.
    int stop(int signal = SIGINT) {
        if (pid_ <= 0)
            return -1;
        ::kill(pid_, signal);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    std::string firstLine_;
};

} // namespace tarvik::cli::test
