// Refusing an image larger than the memory it is for: the chip's address counter would wrap and
// overwrite the start of the memory, after the erase has already destroyed the old contents.
#include <string>

#include "buffer/buffer_texts.h"
#include "chips/chip_codes.h"
#include "form/main_form.h"
#include "operations/engine_support.h"
#include "operations/job_texts.h"
#include "protocol/encodings.h"

namespace tarvik::engine {

namespace {

// The chip name identification gives a locked chip, whose size it cannot tell.
constexpr std::string_view kLockedChipName = "Device locked !";

struct Capacity {
    const LangText* refusal;
    std::string chip;
    std::int64_t bytes;
};

// The memory the requested job writes or verifies, where its size is known.
std::optional<Capacity> capacityOf(const TMainForm& form) {
    if (form.RequestedJob == jobProgramEeprom) {
        if (form.AutoDevice.text == kLockedChipName) {
            return std::nullopt;
        }
        return Capacity{&texts::kImageLargerThanEeprom, form.AutoDevice.text,
                        chipEepromBytes(chips::chipEepromCode(form.AutoDevice.text))};
    }
    if (form.RequestedJob != jobProgram && form.RequestedJob != jobVerify) {
        return std::nullopt;
    }
    if (form.IsSerialEeprom) {
        return Capacity{&texts::kImageLargerThanSerialEeprom, form.Device.text,
                        serialEepromBytes(form.EepromSizeCode)};
    }
    const auto flashBytes = parseByteCount(form.CodeSize.text);
    if (form.AutoDevice.text == kLockedChipName || !flashBytes) {
        return std::nullopt;
    }
    return Capacity{&texts::kImageLargerThanFlash, form.AutoDevice.text, *flashBytes};
}

} // namespace

bool imageFits(TMainForm& form) {
    const std::optional<Capacity> capacity = capacityOf(form);
    const std::int64_t image = form.Hexeditor.ByteCount();
    if (!capacity || image <= capacity->bytes) {
        return true;
    }
    failStep(form,
             fillIn(pick(*capacity->refusal, form.LanguageCode),
                    {std::to_string(image), capacity->chip, std::to_string(capacity->bytes)}));
    return false;
}

} // namespace tarvik::engine
