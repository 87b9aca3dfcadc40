// Helpers shared by the job steps and the response handler.
#include "operations/engine_support.h"

#include <charconv>

#include "operations/job_texts.h"

namespace tarvik::engine {

std::vector<bool> fuseMarks(const CheckList& list) {
    std::vector<bool> marks(list.items.size());
    for (std::size_t i = 0; i < marks.size(); ++i) {
        marks[i] = list.items[i].checked;
    }
    return marks;
}

void setFuseMarks(CheckList& list, const std::vector<bool>& marks) {
    for (std::size_t i = 0; i < list.items.size() && i < marks.size(); ++i) {
        list.items[i].checked = marks[i];
    }
}

std::string hexByte(std::uint8_t value) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

int addressDigits(std::size_t size) {
    int digits = 4;
    for (std::size_t last = size == 0 ? 0 : size - 1; last > 0xFFFF; last >>= 4) {
        ++digits;
    }
    return digits;
}

std::string hexAddress(std::size_t address, int digits) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(static_cast<std::size_t>(digits), '0');
    for (auto pos = text.rbegin(); pos != text.rend() && address != 0; ++pos, address >>= 4) {
        *pos = kDigits[address & 0x0F];
    }
    return text;
}

std::optional<std::int32_t> parseByteCount(std::string_view text) {
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

namespace {

std::string signatureText(const std::array<std::uint8_t, 3>& bytes) {
    std::string text = hexByte(bytes[0]);
    for (std::size_t i = 1; i < bytes.size(); ++i) {
        text += ' ';
        text += hexByte(bytes[i]);
    }
    return text;
}

} // namespace

std::string anotherChipLine(const TMainForm& form, const std::array<std::uint8_t, 3>& file) {
    return fillIn(pick(texts::kBuiltForAnotherChip, form.LanguageCode),
                  {signatureText(file), form.AutoDevice.text,
                   form.ChipSignature ? signatureText(*form.ChipSignature) : std::string()});
}

void failStep(TMainForm& form, const LangText& reason) {
    failStep(form, std::string(pick(reason, form.LanguageCode)));
}

void recordFailure(TMainForm& form, std::string_view line) {
    if (form.Outcome.failedStep)
        return;
    form.Outcome.failedStep = form.ProtocolState;
    form.Outcome.errorLine = line;
}

void recordTransfer(TMainForm& form) {
    if (form.ProtocolState == stRead) {
        form.Outcome.transfer = TransferProgress{
            stRead, static_cast<std::int64_t>(form.ReadData.size()), form.ExpectedSize};
    } else {
        form.Outcome.transfer =
            TransferProgress{form.ProtocolState, form.SendPos,
                             static_cast<std::int64_t>(form.Hexeditor.ByteCount())};
    }
}

void failStep(TMainForm& form, std::string reason) {
    recordFailure(form, reason);
    form.log(std::move(reason));
    form.ErrorFlag = true;
    form.ProtocolState = stIdle;
}

void startChunks(TMainForm& form) {
    form.SendPos = 0;
    if (form.Hexeditor.ByteCount() == 0) {
        failStep(form, texts::kBufferEmpty);
        return;
    }
    form.FillDataChunk();
}

} // namespace tarvik::engine
