// Small helpers the job steps and the response handler share: the family tests on the Device menu's
// check marks, the fuse list's marks as plain bits, and ending a step at once with the error
// result.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "form/main_form.h"

namespace tarvik::engine {

// Either AT89C5x menu entry (the two families that take a programming voltage code).
inline bool isAt89C5xFamily(const TMainForm& form) {
    return form.n89C5x.checked || form.n89Sxx.checked;
}

// The programming voltage code of the AT89C5x socket: AT89Sxx always 12, AT89C5x 5 only when
// the chip's signature asked for 5 V.
inline std::uint8_t voltageCode(const TMainForm& form) {
    if (form.n89C5x.checked && form.ProgVoltage == 5) {
        return 5;
    }
    return 12;
}

// Check mark of fuse list entry index; an entry that isn't there counts as unchecked.
inline bool fuseChecked(const TMainForm& form, std::size_t index) {
    return index < form.FuseList.items.size() && form.FuseList.items[index].checked;
}

std::vector<bool> fuseMarks(const CheckList& list);
void setFuseMarks(CheckList& list, const std::vector<bool>& marks);

// A byte as two upper-case hexadecimal digits, as the log shows bytes.
std::string hexByte(std::uint8_t value);

// Addresses as the log shows them: hexadecimal digits, four or as many as the last address
// of an image of that size needs.
int addressDigits(std::size_t size);
std::string hexAddress(std::size_t address, int digits);

// A decimal byte count as the size edits show it; nothing for an empty, signed, non-numeric
// or out-of-range text.
std::optional<std::int32_t> parseByteCount(std::string_view text);

// The line that refuses a file built for the signature `file` on the identified chip (its
// name and ChipSignature): both signatures and the chip.
std::string anotherChipLine(const TMainForm& form, const std::array<std::uint8_t, 3>& file);

// Records in the outcome that the job fails in the step it is in, for the reason this log
// line gives; the first failure of a job is the one it keeps.
void recordFailure(TMainForm& form, std::string_view line);

// Records in the outcome how far the running transfer has got: the bytes sent of the buffer
// (write, verify) or received of those expected (read).
void recordTransfer(TMainForm& form);

// Ends the running step with the error result: logs why, raises ErrorFlag and leaves the job
// idle so the caller's finish test ends it.
void failStep(TMainForm& form, const LangText& reason);
void failStep(TMainForm& form, std::string reason);

// Starts a chunked transfer of the buffer from its first byte; an empty buffer has nothing to
// send and fails the step.
void startChunks(TMainForm& form);

// The flash read (or a serial EEPROM's) after its log line: the size from the identified chip
// or the selected serial EEPROM, the bytes gathered in ReadData.
void startFlashRead(TMainForm& form);

// Program, verify and program EEPROM: whether the buffer fits the memory it goes to (the
// identified chip's flash or EEPROM, the selected serial EEPROM). When it does not, logs both
// sizes and the chip and fails the step, before anything is erased or written. A chip whose
// size is not known ("Device locked !") is not refused.
bool imageFits(TMainForm& form);

// Whether identification reads this chip's fuses (the lock pair chips keep theirs to themselves).
bool hasFuseRead(std::string_view chipName);

// The answer to one write of a fuse write: the chip has taken that write's marks. The next
// write goes out; after the last, the fuses are read back where the chip allows it.
void continueFuseWrite(TMainForm& form);
// The fuses read back after a fuse write: each entry the chip did not take is named, and the
// job fails with the first of them.
void compareFusesWritten(TMainForm& form);

// After a verify answered with the error: reads the chip back as the verify went (flash or a
// serial EEPROM) into ReadData, never into the buffer.
void startReadBack(TMainForm& form);
// At the end of that read: logs how many bytes differ and the first of them, marks them all
// in the buffer, and says when a locked chip makes the comparison meaningless.
void compareReadBack(TMainForm& form);

// At the end of a blank check's read: logs "blank", or how many bytes are not 0xFF and the
// first of them, and fails the job when there are any.
void checkBlank(TMainForm& form);

// The requested job's own step once the chip is known (after identification, or after the
// fuse read that follows it); write fuses and detect end there.
void runJobDispatch(TMainForm& form);

} // namespace tarvik::engine
