// The blank check: a read of the flash (or a serial EEPROM, or an AVR chip's data EEPROM) that
// goes into an image of its own, and the look at it for bytes that are not 0xFF.
#include <string>
#include <vector>

#include "form/main_form.h"
#include "operations/engine_support.h"
#include "operations/job_texts.h"

namespace tarvik {

void TMainForm::startBlankCheck(TRequestedJob job) {
    if (settling_)
        return;
    RequestedJob = job;
    BlankChecking = true; // off again when the job ends, however it ends
    StartJob();
}

void TMainForm::nBlankCheckClick() {
    NotifyOnExit notify(*this);
    startBlankCheck(jobReadFlash);
}

void TMainForm::BlankCheckEeprom() {
    NotifyOnExit notify(*this);
    startBlankCheck(jobReadEeprom);
}

namespace engine {

namespace {
// How many bytes that are not blank the log spells out.
constexpr std::size_t kListedBytes = 10;
} // namespace

void checkBlank(TMainForm& form) {
    const std::vector<std::uint8_t>& image = form.ReadData;
    std::vector<std::size_t> notBlank;
    for (std::size_t i = 0; i < image.size(); ++i) {
        if (image[i] != 0xFF)
            notBlank.push_back(i);
    }
    form.Outcome.notBlankBytes = notBlank.size();
    if (notBlank.empty()) {
        form.log(texts::kChipBlank);
        return;
    }
    const std::string count =
        fillIn(pick(texts::kNotBlankBytes, form.LanguageCode), {std::to_string(notBlank.size())});
    form.log(count);
    recordFailure(form, count);
    form.ErrorFlag = true;
    const int digits = addressDigits(image.size());
    for (std::size_t k = 0; k < notBlank.size() && k < kListedBytes; ++k) {
        const std::size_t at = notBlank[k];
        form.log(fillIn(texts::kNotBlankByte, {hexAddress(at, digits), hexByte(image[at])}));
    }
}

} // namespace engine

} // namespace tarvik
