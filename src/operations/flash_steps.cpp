// The job steps on the chip's flash (or a serial EEPROM's memory): signature, erase, write,
// verify, read, and the socket chips' lock bits. Each logs its line, sets the protocol state
// and the command, sets its parameters and sends; bytes a step doesn't set keep their values.
#include <algorithm>

#include "chips/chip_codes.h"
#include "form/main_form.h"
#include "operations/engine_support.h"
#include "operations/job_texts.h"
#include "protocol/encodings.h"

namespace tarvik {

namespace {

void setCommand(TMainForm& form, Command command) {
    form.OutputReport[report::kCommand] = static_cast<std::uint8_t>(command);
}

std::uint8_t lowByte(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

} // namespace

void TMainForm::StartReadSignature() {
    log(texts::kReadingSignature);
    ProtocolState = stSignature;
    setCommand(*this, Command::ReadSignature);
    if (n89Sxx.checked) {
        OutputReport[report::kParam1] = 12;
    }
    SendReport();
}

void TMainForm::StartErase() {
    log(texts::kErasing);
    ProtocolState = stErase;
    setCommand(*this, Command::Erase);
    if (engine::isAt89C5xFamily(*this)) {
        OutputReport[report::kParam1] = engine::voltageCode(*this);
    } else if (IsSerialEeprom) {
        OutputReport[report::kParam1] = lowByte(EepromSizeCode);
        OutputReport[report::kParam2] = lowByte(EepromPageSize);
    }
    SendReport();
}

void TMainForm::StartWriteFlash() {
    log(texts::kWriting);
    ProtocolState = stWrite;
    setCommand(*this, Command::WriteFlash);
    if (engine::isAt89C5xFamily(*this)) {
        OutputReport[report::kParam3] = engine::voltageCode(*this);
    } else if (IsSerialEeprom) {
        OutputReport[report::kParam3] = lowByte(EepromPageSize);
    } else if (IsAvrIsp) {
        OutputReport[report::kParam3] = chips::avrPageCode(AutoDevice.text);
    }
    engine::startChunks(*this);
}

void TMainForm::StartVerify() {
    log(texts::kVerifying);
    ProtocolState = stVerify;
    setCommand(*this, Command::Verify);
    if (n89Sxx.checked) {
        OutputReport[report::kParam3] = 12;
    } else if (IsSerialEeprom) {
        OutputReport[report::kParam3] = lowByte(EepromPageSize);
    }
    engine::startChunks(*this);
}

void TMainForm::StartReadFlash() {
    log(texts::kReading);
    engine::startFlashRead(*this);
}

void engine::startFlashRead(TMainForm& form) {
    form.ProtocolState = stRead;
    setCommand(form, Command::ReadFlash);
    if (form.IsSocketMcu || form.IsAvrIsp) {
        // The size the identification showed; "Device locked !" shows none of its own.
        const auto flashBytes = parseByteCount(form.CodeSize.text);
        if (!flashBytes) {
            failStep(form, texts::kFlashSizeUnknown);
            return;
        }
        form.OutputReport[report::kParam1] = flashKibibytes(*flashBytes);
        form.ExpectedSize = *flashBytes;
    } else {
        form.OutputReport[report::kParam1] = lowByte(form.EepromSizeCode);
        form.ExpectedSize = serialEepromBytes(form.EepromSizeCode);
    }
    if (form.n89Sxx.checked) {
        form.OutputReport[report::kParam3] = 12;
    }
    form.ReadData.clear();
    form.ReadData.reserve(
        static_cast<std::size_t>(std::min<std::int32_t>(form.ExpectedSize, 1 << 20)));
    engine::recordTransfer(form);
    form.SendReport();
}

void TMainForm::StartWriteLockBit(std::uint8_t lockBit) {
    log(lockBit == 1 ? texts::kLockBit1 : texts::kLockBit2);
    ProtocolState = lockBit == 1 ? stLockBit1 : stLockBit2;
    setCommand(*this, Command::WriteLockBit);
    OutputReport[report::kParam2] = lockBit;
    if (engine::isAt89C5xFamily(*this)) {
        OutputReport[report::kParam3] = engine::voltageCode(*this);
    }
    SendReport();
}

} // namespace tarvik
