// The data buffer model: every change of the bytes goes through replace() (user edits, which
// are recorded) or SetAllBytes() (replaces, which start afresh).
#include "buffer/hex_buffer.h"

#include <algorithm>

#include "buffer/file_io.h"
#include "buffer/intel_hex.h"

namespace tarvik {

std::int32_t HexBuffer::ByteCount() const {
    return static_cast<std::int32_t>(data_.size());
}

HexBuffer::Bytes HexBuffer::GetAllBytes() const {
    return data_;
}

void HexBuffer::SetAllBytes(Bytes bytes) {
    data_ = std::move(bytes);
    changed_.assign(data_.size(), 0);
    clearHistory();
    unsaved_ = false;
    cursor_ = 0;
    changed();
}

void HexBuffer::LoadBinaryFile(const std::string& fileName, std::uint8_t languageCode) {
    SetAllBytes(readWholeFile(fileName, languageCode));
}

void HexBuffer::SaveBinaryFile(const std::string& fileName, std::uint8_t languageCode) {
    writeWholeFile(fileName, std::span<const std::uint8_t>(data_), languageCode);
    changed_.assign(data_.size(), 0);
    clearHistory();
    unsaved_ = false;
}

bool HexBuffer::UndoAvailable() const {
    return !readOnly_ && !undo_.empty();
}

bool HexBuffer::RedoAvailable() const {
    return !readOnly_ && !redo_.empty();
}

void HexBuffer::UndoEdit() {
    if (!UndoAvailable() || locked_)
        return;
    Edit edit = std::move(undo_.back());
    undo_.pop_back();
    historyBytes_ -= edit.size();
    swapIn(edit.offset, edit.after.size(), edit.before, &edit.beforeMarks);
    cursor_ = edit.offset;
    redo_.push_back(std::move(edit));
    unsaved_ = true;
    changed();
}

void HexBuffer::RedoEdit() {
    if (!RedoAvailable() || locked_)
        return;
    Edit edit = std::move(redo_.back());
    redo_.pop_back();
    swapIn(edit.offset, edit.before.size(), edit.after, nullptr);
    cursor_ = std::min(edit.offset + edit.after.size(), data_.size());
    historyBytes_ += edit.size();
    undo_.push_back(std::move(edit));
    unsaved_ = true;
    changed();
}

void HexBuffer::typeBytes(std::size_t offset, std::span<const std::uint8_t> bytes) {
    if (insertMode_)
        insert(offset, bytes);
    else
        overwrite(offset, bytes);
}

void HexBuffer::overwrite(std::size_t offset, std::span<const std::uint8_t> bytes) {
    replace(offset, bytes.size(), bytes);
}

void HexBuffer::insert(std::size_t offset, std::span<const std::uint8_t> bytes) {
    replace(offset, 0, bytes);
}

void HexBuffer::erase(std::size_t offset, std::size_t count) {
    replace(offset, count, {});
}

bool HexBuffer::isChanged(std::size_t offset) const {
    return offset < changed_.size() && changed_[offset];
}

void HexBuffer::setCursor(std::size_t offset) {
    cursor_ = std::min(offset, data_.size());
}

void HexBuffer::replace(std::size_t offset, std::size_t count,
                        std::span<const std::uint8_t> bytes) {
    if (!Editable() || offset > data_.size())
        return;
    count = std::min(count, data_.size() - offset);
    if (count == 0 && bytes.empty())
        return;
    if (bytes.size() > count && data_.size() - count + bytes.size() > kMaxImageBytes) {
        if (OnGrowthRefused)
            OnGrowthRefused();
        return;
    }
    const auto first = static_cast<std::ptrdiff_t>(offset);
    const auto last = static_cast<std::ptrdiff_t>(offset + count);
    Edit edit{offset, Bytes(data_.begin() + first, data_.begin() + last),
              Marks(changed_.begin() + first, changed_.begin() + last),
              Bytes(bytes.begin(), bytes.end())};
    swapIn(offset, count, edit.after, nullptr);
    cursor_ = std::min(cursor_, data_.size());
    redo_.clear();
    historyBytes_ += edit.size();
    undo_.push_back(std::move(edit));
    while (historyBytes_ > kHistoryBytes && undo_.size() > 1) {
        historyBytes_ -= undo_.front().size();
        undo_.pop_front();
    }
    unsaved_ = true;
    changed();
}

void HexBuffer::swapIn(std::size_t offset, std::size_t removed, const Bytes& bytes,
                       const Marks* marks) {
    const auto at = static_cast<std::ptrdiff_t>(offset);
    if (removed == bytes.size()) {
        std::copy(bytes.begin(), bytes.end(), data_.begin() + at);
    } else {
        data_.erase(data_.begin() + at, data_.begin() + at + static_cast<std::ptrdiff_t>(removed));
        data_.insert(data_.begin() + at, bytes.begin(), bytes.end());
        changed_.erase(changed_.begin() + at,
                       changed_.begin() + at + static_cast<std::ptrdiff_t>(removed));
        changed_.insert(changed_.begin() + at, bytes.size(), 1);
    }
    for (std::size_t i = 0; i < bytes.size(); ++i)
        changed_[offset + i] = marks ? (*marks)[i] : 1;
}

void HexBuffer::clearHistory() {
    undo_.clear();
    redo_.clear();
    historyBytes_ = 0;
}

void HexBuffer::markDifferences(std::vector<std::size_t> offsets) {
    differences_ = std::move(offsets);
}

bool HexBuffer::isDifferent(std::size_t offset) const {
    return std::binary_search(differences_.begin(), differences_.end(), offset);
}

void HexBuffer::changed() {
    differences_.clear(); // they described the contents before this change
    if (OnChange)
        OnChange();
}

} // namespace tarvik
