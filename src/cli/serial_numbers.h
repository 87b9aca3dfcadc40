// Serial numbers for a production run (--serial, --serial-file): the place and encoding of the
// number in the image, and the file that holds the next number. Each chip gets the next number
// patched into its image in memory; the file moves on only once that chip's job succeeded.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik::cli {

enum class SerialFormat : std::uint8_t {
    Le,    // binary, least significant byte first
    Be,    // binary, most significant byte first
    Bcd,   // two decimal digits a byte, the most significant first
    Ascii, // decimal digits, padded with leading zeros
};

enum class SerialMemory : std::uint8_t { Flash, Eeprom };

struct SerialNumbering {
    std::uint64_t address = 0;
    std::uint64_t start = 0;
    std::size_t bytes = 4; // 1 to 8
    SerialFormat format = SerialFormat::Le;
    std::uint64_t step = 1;
    SerialMemory memory = SerialMemory::Flash;
};

// ADDRESS=START[,bytes=N][,format=le|be|bcd|ascii][,step=K][,memory=flash|eeprom]; ADDRESS
// and START decimal or 0x hexadecimal. Nothing for anything else.
std::optional<SerialNumbering> parseSerialOption(std::string_view text);

// The number's bytes as the format lays them out in `bytes` bytes; nothing when it does not fit.
std::optional<std::vector<std::uint8_t>> encodeSerial(std::uint64_t number, std::size_t bytes,
                                                      SerialFormat format);

// Patches the number into the image at the numbering's address. Gives the reason it cannot, in
// the language (the number does not fit, or its bytes lie outside the image), and leaves the
// image as it was then.
std::optional<std::string> patchSerial(std::vector<std::uint8_t>& image,
                                       const SerialNumbering& numbering, std::uint64_t number,
                                       std::uint8_t language);

// The serial file, locked against every other tarvik-cli for as long as this object lives
// (a folder FILE.lock beside it, made and removed; a lock left by a program that was killed
// is removed by hand). Throws UserError when the lock is not had within the wait, or the file
// cannot be read or holds no number.
class SerialFile {
public:
    SerialFile(std::string fileName, std::uint64_t start, std::uint8_t language,
               std::chrono::milliseconds wait = std::chrono::minutes(2));
    ~SerialFile();
    SerialFile(const SerialFile&) = delete;
    SerialFile& operator=(const SerialFile&) = delete;

    // The next number: the file's, or START when there is no file yet.
    std::uint64_t next() const { return next_; }
    // Stores the number after this one (temporary file, flushed, renamed over the old one).
    void advance(std::uint64_t step);

private:
    std::string fileName_;
    std::string lockName_;
    std::uint8_t language_;
    std::uint64_t next_ = 0;
};

} // namespace tarvik::cli
