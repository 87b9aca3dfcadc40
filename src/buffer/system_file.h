// The system's side of file access, one implementation per system (posix/ or windows/): a file
// opened for reading that is refused unless it is a regular file, and the replacement of a file
// by new contents that never leaves a half-written one. Failures throw UserError with a text in
// the given language that names the file and the system's reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvik::system_file {

class ReadableFile {
public:
    // A folder, pipe, socket or device is refused at once: it would block the open or the
    // reads, never end, or hold no bytes.
    ReadableFile(const std::string& fileName, std::uint8_t languageCode);
    ~ReadableFile();
    ReadableFile(const ReadableFile&) = delete;
    ReadableFile& operator=(const ReadableFile&) = delete;

    // The size when it was opened: a hint only, the file may grow while it is read.
    std::uint64_t size() const { return size_; }
    // Reads up to size bytes into data; fewer only where the file ends.
    std::size_t read(char* data, std::size_t size);

private:
    std::intptr_t handle_; // the system's descriptor or handle
    std::uint64_t size_ = 0;
    std::string fileName_;
    std::uint8_t languageCode_;
};

// Writes the bytes to a temporary file beside the target, flushes them to disk and renames the
// temporary over the target (through a symbolic link, onto the link's target). On any failure
// the old file stays as it was and no temporary is left.
void replaceFile(const std::string& fileName, const char* bytes, std::size_t size,
                 std::uint8_t languageCode);

} // namespace tarvik::system_file
