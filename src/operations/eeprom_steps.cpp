// The steps on an AVR chip's data EEPROM: write the whole buffer in chunks, or read as many
// bytes as the identified chip's EEPROM holds.
#include "chips/chip_codes.h"
#include "form/main_form.h"
#include "operations/engine_support.h"
#include "operations/job_texts.h"
#include "protocol/encodings.h"

namespace tarvik {

void TMainForm::StartWriteEeprom() {
    log(texts::kWritingEeprom);
    ProtocolState = stWrite;
    OutputReport[report::kCommand] = static_cast<std::uint8_t>(Command::WriteEeprom);
    engine::startChunks(*this);
}

void TMainForm::StartReadEeprom() {
    log(texts::kReadingEeprom);
    ProtocolState = stRead;
    OutputReport[report::kCommand] = static_cast<std::uint8_t>(Command::ReadEeprom);
    const std::uint8_t code = chips::chipEepromCode(AutoDevice.text);
    OutputReport[report::kParam1] = code;
    ExpectedSize = chipEepromBytes(code);
    ReadData.clear();
    ReadData.reserve(static_cast<std::size_t>(ExpectedSize));
    engine::recordTransfer(*this);
    SendReport();
}

} // namespace tarvik
