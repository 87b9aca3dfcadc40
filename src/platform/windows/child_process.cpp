// Starting a program with CreateProcessW, its output on two anonymous pipes, in a process
// group of its own so that Ctrl+Break reaches it alone.
#include "platform/child_process.h"

#include <windows.h>

#include "common/user_error.h"
#include "platform/file_name.h"

namespace tarvik::platform {

namespace {

std::wstring wide(const std::string& text) {
    return pathFromUtf8(text).wstring();
}

// One argument as the C runtime parses it back: quoted, with backslashes before quotes doubled.
void appendQuoted(std::wstring& line, const std::wstring& arg) {
    line += L'"';
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(2 * backslashes, L'\\');
    line += L'"';
}

HANDLE handle(std::intptr_t value) {
    return reinterpret_cast<HANDLE>(value);
}

} // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    if (!CreatePipe(&outRead, &outWrite, &inherit, 0) ||
        !CreatePipe(&errRead, &errWrite, &inherit, 0))
        throw UserError(program + ": CreatePipe " + std::to_string(GetLastError()));
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    std::wstring line;
    appendQuoted(line, wide(program));
    for (const std::string& arg : args) {
        line += L' ';
        appendQuoted(line, wide(arg));
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION info{};
    const std::wstring name = wide(program);
    const BOOL started =
        CreateProcessW(name.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NEW_PROCESS_GROUP,
                       nullptr, nullptr, &startup, &info);
    const DWORD error = GetLastError();
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (!started) {
        CloseHandle(outRead);
        CloseHandle(errRead);
        throw UserError(program + ": CreateProcess " + std::to_string(error));
    }
    CloseHandle(info.hThread);
    process_ = reinterpret_cast<std::intptr_t>(info.hProcess);
    out_ = reinterpret_cast<std::intptr_t>(outRead);
    err_ = reinterpret_cast<std::intptr_t>(errRead);
    id_ = info.dwProcessId;
}

ChildProcess::~ChildProcess() {
    wait();
    CloseHandle(handle(out_));
    CloseHandle(handle(err_));
    CloseHandle(handle(process_));
}

std::size_t ChildProcess::read(Stream stream, char* data, std::size_t size) {
    DWORD got = 0;
    const BOOL ok = ReadFile(handle(stream == Stream::Out ? out_ : err_), data,
                             static_cast<DWORD>(size), &got, nullptr);
    return ok ? got : 0;
}

void ChildProcess::interrupt() {
    if (!waited_)
        GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, id_);
}

int ChildProcess::wait() {
    if (waited_)
        return status_;
    WaitForSingleObject(handle(process_), INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(handle(process_), &code);
    status_ = static_cast<int>(code);
    waited_ = true; // after the status, which a wait() on another thread then reads
    return status_;
}

std::string thisProgram() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return utf8FromPath(std::filesystem::path(path));
        }
        path.resize(path.size() * 2);
    }
}

} // namespace tarvik::platform
