// File access on POSIX: regular files opened without blocking, and the atomic replace (a
// temporary file in the same folder, flushed to disk, renamed over the target, and the folder
// flushed after the rename).
#include "buffer/system_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

#include "buffer/buffer_texts.h"
#include "common/user_error.h"

namespace tarvik::system_file {
namespace {

[[noreturn]] void fail(const LangText& text, const std::string& fileName, std::uint8_t languageCode,
                       int error) {
    throw UserError(fillIn(pick(text, languageCode), {fileName, std::strerror(error)}));
}

// Closes the descriptor when the scope ends.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }
    // Closes now and reports the result, so a failed final flush is seen.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

} // namespace

// The open is checked twice: by name first, then without blocking on what was opened, which
// covers a pipe or device put in the file's place meanwhile.
ReadableFile::ReadableFile(const std::string& fileName, std::uint8_t languageCode)
    : handle_(-1), fileName_(fileName), languageCode_(languageCode) {
    const auto notRegular = [&] {
        throw UserError(fillIn(pick(texts::kNotRegularFileToOpen, languageCode), {fileName}));
    };
    std::error_code ignored;
    const std::filesystem::file_status status = std::filesystem::status(fileName, ignored);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        notRegular();
    Descriptor file(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0)
        fail(texts::kCannotOpenFile, fileName, languageCode, errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        fail(texts::kCannotReadFile, fileName, languageCode, errno);
    if (!S_ISREG(info.st_mode))
        notRegular();
    size_ = static_cast<std::uint64_t>(info.st_size);
    handle_ = file.release();
}

ReadableFile::~ReadableFile() {
    ::close(static_cast<int>(handle_));
}

std::size_t ReadableFile::read(char* data, std::size_t size) {
    std::size_t used = 0;
    while (used < size) {
        const ssize_t n = ::read(static_cast<int>(handle_), data + used, size - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(texts::kCannotReadFile, fileName_, languageCode_, errno);
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
    }
    return used;
}

namespace {

// The file a save really replaces: the target of a symbolic link, else the name itself.
std::string saveTarget(const std::string& fileName) {
    struct stat info {};
    if (::lstat(fileName.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(fileName.c_str(), resolved) != nullptr)
            return resolved;
    }
    return fileName;
}

// The folder that holds the file, as a name open() takes.
std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The mode a new file gets from open(…, 0666): what the process's umask leaves of it.
mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Gives the replacement the owner and group of the file it replaces, as far as this user may:
// root (a save under sudo) keeps both, others can only give it a group they belong to. What
// cannot be kept is this user's, as for a new file.
void keepOwner(int fd, const struct stat& replaced) {
    if (replaced.st_uid == ::geteuid() && replaced.st_gid == ::getegid())
        return;
    if (::fchown(fd, replaced.st_uid, replaced.st_gid) != 0 && errno == EPERM) {
        [[maybe_unused]] const int groupOnly =
            ::fchown(fd, static_cast<uid_t>(-1), replaced.st_gid);
    }
}

void writeAll(int fd, const char* bytes, std::size_t size) {
    for (std::size_t written = 0; written < size;) {
        const ssize_t n = ::write(fd, bytes + written, size - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw std::system_error(errno, std::generic_category());
        written += static_cast<std::size_t>(n);
    }
}

// Makes the rename itself last: without it a power loss can bring back the old entry, or none.
int syncFolder(const std::string& folder) {
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0)
        return errno;
    // Some file systems can't sync a folder; they have nothing left to write then.
    if (::fsync(dir.get()) != 0 && errno != EINVAL)
        return errno;
    return 0;
}

} // namespace

void replaceFile(const std::string& fileName, const char* bytes, std::size_t size,
                 std::uint8_t languageCode) {
    const std::string target = saveTarget(fileName);
    struct stat existing {};
    const bool replacing = ::stat(target.c_str(), &existing) == 0;
    // A pipe or a device would take the bytes (or block) where a file is expected, and the
    // rename would then put a plain file in its place: refuse before anything happens. A
    // folder in the way is left to the rename, which names the reason.
    if (replacing && !S_ISREG(existing.st_mode) && !S_ISDIR(existing.st_mode))
        throw UserError(fillIn(pick(texts::kNotRegularFileToSave, languageCode), {fileName}));

    // A short name of our own beside the target: any name the file system takes for the
    // target leaves room for it. mkostemp creates it for the owner alone (0600), so nobody can
    // open it before it has the target's permissions.
    const std::string folder = folderOf(target);
    std::string temporary = folder + "/.tarvik-XXXXXX";
    Descriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.get() < 0)
        fail(texts::kCannotWriteFile, fileName, languageCode, errno);
    const auto abandon = [&](const LangText& text, int error) {
        ::unlink(temporary.c_str());
        fail(text, fileName, languageCode, error);
    };
    try {
        writeAll(file.get(), bytes, size);
    } catch (const std::system_error& e) {
        abandon(texts::kCannotWriteFile, e.code().value());
    }
    if (replacing)
        keepOwner(file.get(), existing); // before the mode: a change of owner clears set-id bits
    const mode_t mode = replacing ? (existing.st_mode & 07777) : newFileMode();
    // The contents reach the disk before their name does, so a crash right after the rename
    // cannot leave an empty or short file under it (a new file as much as a replaced one).
    if (::fchmod(file.get(), mode) != 0 || ::fsync(file.get()) != 0 || file.close() != 0)
        abandon(texts::kCannotWriteFile, errno);
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        abandon(texts::kCannotReplaceFile, errno);
    if (const int error = syncFolder(folder); error != 0)
        fail(texts::kCannotWriteFile, fileName, languageCode, error);
}

} // namespace tarvik::system_file
