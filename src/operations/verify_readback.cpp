// A verify that says where: after the programmer's error answer to a verify, the chip is read
// back into an image of its own and compared with the buffer. The log names the differing
// bytes, the buffer marks them for the hex view, and the buffer itself stays untouched.
#include <algorithm>
#include <string>
#include <vector>

#include "buffer/buffer_texts.h"
#include "form/main_form.h"
#include "operations/engine_support.h"
#include "operations/job_texts.h"

namespace tarvik::engine {

namespace {

// How many differences the log spells out; the hex view marks all of them.
constexpr std::size_t kListedDifferences = 10;

// Whether the chip is known to keep its contents to itself (lock bit 2 programmed, or a
// signature hidden by the lock), known not to, or nothing when its lock bits were not read.
std::optional<bool> chipLocked(const TMainForm& form) {
    if (form.IsSerialEeprom) {
        return false;
    }
    if (form.AutoDevice.text == "Device locked !") {
        return true;
    }
    if (!form.ChipFuseMarks) {
        return std::nullopt;
    }
    const std::vector<CheckListItem>& items = form.FuseList.items;
    for (std::size_t i = 0; i < items.size() && i < form.ChipFuseMarks->size(); ++i) {
        if (items[i].text == "Lock bit 2") {
            return (*form.ChipFuseMarks)[i];
        }
    }
    return std::nullopt;
}

} // namespace

void startReadBack(TMainForm& form) {
    form.log(texts::kReadingBack);
    form.ComparingReadBack = true;
    startFlashRead(form);
}

void compareReadBack(TMainForm& form) {
    form.ComparingReadBack = false;
    const HexBuffer::Bytes& buffer = form.Hexeditor.bytes();
    const std::vector<std::uint8_t>& chip = form.ReadData;
    const std::size_t common = std::min(buffer.size(), chip.size());
    std::vector<std::size_t> differing;
    for (std::size_t i = 0; i < common; ++i) {
        if (chip[i] != buffer[i]) {
            differing.push_back(i);
        }
    }
    const std::uint8_t language = form.LanguageCode;
    form.log(fillIn(pick(texts::kDifferingBytes, language), {std::to_string(differing.size())}));
    // Where the verify failed says more than the verify's own line.
    form.Outcome.errorLine = form.Verlauf.lines.back();
    const int digits = addressDigits(buffer.size());
    for (std::size_t k = 0; k < differing.size() && k < kListedDifferences; ++k) {
        const std::size_t at = differing[k];
        form.log(fillIn(pick(texts::kDifferingByte, language),
                        {hexAddress(at, digits), hexByte(chip[at]), hexByte(buffer[at])}));
    }
    const std::optional<bool> locked = chipLocked(form);
    if (!locked) {
        form.log(texts::kLockedChipNoCompare);
    } else if (*locked) {
        form.log(texts::kChipLockedNoCompare);
    }
    // The view goes to the first difference, wherever it is.
    if (!differing.empty())
        form.Hexeditor.setCursor(differing.front());
    form.Hexeditor.markDifferences(std::move(differing));
}

} // namespace tarvik::engine
