// Whole-file reading and the atomic whole-file write (temporary file in the same folder,
// flushed to disk when it replaces a file, then renamed over the target).
#include "buffer/file_io.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "buffer/buffer_texts.h"
#include "common/user_error.h"

namespace tarvik {
namespace {

[[noreturn]] void fail(BufferText text, const std::string& fileName, std::uint8_t languageCode,
                       int error) {
    throw UserError(bufferText(text, languageCode, {fileName, std::strerror(error)}));
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
    // Closes now and reports the result, so a failed final flush is seen.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

template <typename Container>
Container readFile(const std::string& fileName, std::uint8_t languageCode, std::size_t maxBytes) {
    Descriptor file(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        fail(BufferText::CannotOpen, fileName, languageCode, errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        fail(BufferText::CannotRead, fileName, languageCode, errno);
    const auto tooLarge = [&] {
        throw UserError(bufferText(BufferText::FileTooLarge, languageCode,
                                   {fileName, std::to_string(maxBytes / (1024 * 1024))}));
    };
    if (S_ISREG(info.st_mode) && static_cast<std::uint64_t>(info.st_size) > maxBytes)
        tooLarge();

    // The size is a hint only: the file may change, or not be a regular file at all.
    Container data(S_ISREG(info.st_mode) ? static_cast<std::size_t>(info.st_size) + 1 : 65536, 0);
    std::size_t used = 0;
    for (;;) {
        if (used == data.size()) {
            if (used > maxBytes)
                tooLarge();
            data.resize(std::min(data.size() * 2, maxBytes + 1));
        }
        const ssize_t n = ::read(file.get(), data.data() + used, data.size() - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(BufferText::CannotRead, fileName, languageCode, errno);
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
    }
    if (used > maxBytes)
        tooLarge();
    data.resize(used);
    return data;
}

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

void writeFile(const std::string& fileName, const char* bytes, std::size_t size,
               std::uint8_t languageCode) {
    const std::string target = saveTarget(fileName);
    std::string temporary;
    int fd = -1;
    for (unsigned attempt = 0; fd < 0; ++attempt) {
        temporary = target + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && (errno != EEXIST || attempt == 100))
            fail(BufferText::CannotWrite, fileName, languageCode, errno);
    }
    Descriptor file(fd);
    const auto abandon = [&](BufferText text, int error) {
        ::unlink(temporary.c_str());
        fail(text, fileName, languageCode, error);
    };

    struct stat existing {};
    const bool replacing = ::stat(target.c_str(), &existing) == 0;
    if (replacing && S_ISREG(existing.st_mode))
        (void)::fchmod(fd, existing.st_mode & 07777);
    for (std::size_t written = 0; written < size;) {
        const ssize_t n = ::write(fd, bytes + written, size - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            abandon(BufferText::CannotWrite, errno);
        written += static_cast<std::size_t>(n);
    }
    // The new contents reach the disk before they replace a file that was there, so even a
    // crash right after the rename cannot leave an empty file in its place.
    if ((replacing && ::fdatasync(fd) != 0) || file.close() != 0)
        abandon(BufferText::CannotWrite, errno);
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        abandon(BufferText::CannotReplace, errno);
}

} // namespace

std::vector<std::uint8_t> readWholeFile(const std::string& fileName, std::uint8_t languageCode,
                                        std::size_t maxBytes) {
    return readFile<std::vector<std::uint8_t>>(fileName, languageCode, maxBytes);
}

std::string readTextFile(const std::string& fileName, std::uint8_t languageCode) {
    return readFile<std::string>(fileName, languageCode, kMaxHexFileBytes);
}

void writeWholeFile(const std::string& fileName, std::span<const std::uint8_t> bytes,
                    std::uint8_t languageCode) {
    writeFile(fileName, reinterpret_cast<const char*>(bytes.data()), bytes.size(), languageCode);
}

void writeWholeFile(const std::string& fileName, std::string_view text, std::uint8_t languageCode) {
    writeFile(fileName, text.data(), text.size(), languageCode);
}

} // namespace tarvik
