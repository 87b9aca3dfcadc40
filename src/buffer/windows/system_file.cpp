// File access on Windows: files on a disk opened for reading, and the atomic replace (a
// temporary file in the same folder, flushed to disk, then renamed over the target by
// MoveFileExW with write-through).
// Names are UTF-8 in the program and wide for the system.
#include "buffer/system_file.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include "buffer/buffer_texts.h"
#include "common/user_error.h"
#include "platform/file_name.h"

namespace tarvik::system_file {
namespace {

// The system's own words for an error code, as UTF-8, without the closing period and line end.
std::string systemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0 || text == nullptr)
        return "error " + std::to_string(error);
    std::wstring message(text, length);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' ||
                                message.back() == L' ' || message.back() == L'.'))
        message.pop_back();
    return platform::utf8FromPath(std::filesystem::path(message));
}

[[noreturn]] void fail(const LangText& text, const std::string& fileName, std::uint8_t languageCode,
                       DWORD error) {
    throw UserError(fillIn(pick(text, languageCode), {fileName, systemMessage(error)}));
}

// Closes the handle when the scope ends.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    ~Handle() {
        if (valid())
            CloseHandle(handle_);
    }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    void reset(HANDLE handle) {
        if (valid())
            CloseHandle(handle_);
        handle_ = handle;
    }
    HANDLE get() const { return handle_; }
    HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
    bool close() {
        const bool closed = CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

} // namespace

ReadableFile::ReadableFile(const std::string& fileName, std::uint8_t languageCode)
    : handle_(reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE)), fileName_(fileName),
      languageCode_(languageCode) {
    const auto notRegular = [&] {
        throw UserError(fillIn(pick(texts::kNotRegularFileToOpen, languageCode), {fileName}));
    };
    const std::filesystem::path name = platform::pathFromUtf8(fileName);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        notRegular();
    Handle file(CreateFileW(name.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        fail(texts::kCannotOpenFile, fileName, languageCode, GetLastError());
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        notRegular();
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        fail(texts::kCannotReadFile, fileName, languageCode, GetLastError());
    size_ = static_cast<std::uint64_t>(size.QuadPart);
    handle_ = reinterpret_cast<std::intptr_t>(file.release());
}

ReadableFile::~ReadableFile() {
    CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

std::size_t ReadableFile::read(char* data, std::size_t size) {
    std::size_t used = 0;
    while (used < size) {
        DWORD n = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(size - used, 1u << 30));
        if (!ReadFile(reinterpret_cast<HANDLE>(handle_), data + used, wanted, &n, nullptr)) {
            const DWORD error = GetLastError();
            if (error == ERROR_HANDLE_EOF)
                break;
            fail(texts::kCannotReadFile, fileName_, languageCode_, error);
        }
        if (n == 0)
            break;
        used += n;
    }
    return used;
}

namespace {

// The file a save really replaces: the target of a symbolic link, else the name itself.
std::filesystem::path saveTarget(const std::filesystem::path& name) {
    std::error_code error;
    if (std::filesystem::is_symlink(name, error)) {
        auto resolved = std::filesystem::canonical(name, error);
        if (!error)
            return resolved;
    }
    return name;
}

// A name beside the target that no other save of this or another process picks at the same
// moment (CREATE_NEW refuses one that exists, and the next is tried).
std::filesystem::path temporaryBeside(const std::filesystem::path& target, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    const auto unique = std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(counter.fetch_add(1) + attempt);
    return target.parent_path() / (L".tarvik-" + unique + L".tmp");
}

} // namespace

void replaceFile(const std::string& fileName, const char* bytes, std::size_t size,
                 std::uint8_t languageCode) {
    const std::filesystem::path target = saveTarget(platform::pathFromUtf8(fileName));
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool replacing =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    if (replacing) {
        // A device or pipe would take the bytes where a file is expected: refuse first.
        Handle existing(CreateFileW(target.c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (existing.valid() && GetFileType(existing.get()) != FILE_TYPE_DISK)
            throw UserError(fillIn(pick(texts::kNotRegularFileToSave, languageCode), {fileName}));
    }

    std::filesystem::path temporary;
    Handle file(INVALID_HANDLE_VALUE);
    for (unsigned attempt = 0; attempt < 100 && !file.valid(); ++attempt) {
        temporary = temporaryBeside(target, attempt);
        file.reset(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid() && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (!file.valid())
        fail(texts::kCannotWriteFile, fileName, languageCode, GetLastError());
    const auto abandon = [&](const LangText& text, DWORD error) {
        if (file.valid())
            file.close();
        DeleteFileW(temporary.c_str());
        fail(text, fileName, languageCode, error);
    };
    for (std::size_t written = 0; written < size;) {
        DWORD n = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - written, 1u << 30));
        if (!WriteFile(file.get(), bytes + written, chunk, &n, nullptr))
            abandon(texts::kCannotWriteFile, GetLastError());
        written += n;
    }
    // The contents reach the disk before their name does, so a crash right after the replace
    // cannot leave an empty or short file under it.
    if (!FlushFileBuffers(file.get()))
        abandon(texts::kCannotWriteFile, GetLastError());
    if (!file.close())
        abandon(texts::kCannotWriteFile, GetLastError());
    // One rename: the old file stays as it was if it fails (ReplaceFileW can leave a backup
    // of its own beside the target when the target is held open).
    if (!MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        abandon(texts::kCannotReplaceFile, GetLastError());
}

} // namespace tarvik::system_file
