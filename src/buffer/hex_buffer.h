// The data buffer behind the hex view: the bytes, a changed mark per byte, the undo/redo
// history of the user's edits (ranges, so a paste or fill is one step), the two editing modes
// and the change notification. No widget code: the Qt hex view renders and edits this model.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace tarvik {

class HexBuffer {
public:
    using Bytes = std::vector<std::uint8_t>;
    using Marks = std::vector<std::uint8_t>; // 1 where the user changed the byte

    // --- what the program calls ---
    std::int32_t ByteCount() const;
    Bytes GetAllBytes() const;                   // a copy of the whole buffer
    const Bytes& bytes() const { return data_; } // read-only view, current at each call
    // Replaces the whole buffer; clears the changed marks and the undo history; puts the
    // cursor on the first byte; raises OnChange.
    void SetAllBytes(Bytes bytes);
    // As SetAllBytes with the file's raw bytes. Throws UserError (text in the given language,
    // naming the file and the system's reason) and leaves the buffer as it was on failure.
    void LoadBinaryFile(const std::string& fileName, std::uint8_t languageCode);
    // Creates or replaces the file with the raw bytes (never leaving a half-written file);
    // clears the changed marks and the undo history. Throws UserError on failure.
    void SaveBinaryFile(const std::string& fileName, std::uint8_t languageCode);

    // Whether the user changed the bytes (an edit, undo or redo) since they were last replaced,
    // loaded or saved.
    bool HasUnsavedEdits() const { return unsaved_; }
    // The bytes as they are now are in a file (a save the caller wrote itself).
    void markSaved() { unsaved_ = false; }

    void UndoEdit();
    void RedoEdit();
    bool UndoAvailable() const; // a step back exists and ReadOnlyView is false
    bool RedoAvailable() const;

    bool ReadOnlyView() const { return readOnly_; }
    void setReadOnlyView(bool readOnly) { readOnly_ = readOnly; }
    bool InsertMode() const { return insertMode_; }
    void setInsertMode(bool insert) { insertMode_ = insert; }
    // Locked while a job sends or replaces the buffer: the user's edits, undo and redo are
    // refused then, whatever ReadOnlyView says (a shorter or shifted buffer would strand the
    // transfer or put an edited image on the chip).
    bool Locked() const { return locked_; }
    void setLocked(bool locked) { locked_ = locked; }
    // Whether the user may change the bytes now: edit mode on and not locked.
    bool Editable() const { return !readOnly_ && !locked_; }

    // Raised after every change of the contents: a replace, a file load, every user edit,
    // every undo and redo.
    std::function<void()> OnChange;
    // Raised instead of an edit that would grow the buffer past kMaxImageBytes: what the
    // program saves, it must be able to open again.
    std::function<void()> OnGrowthRefused;

    // --- what the hex view calls for the user's edits (ignored unless Editable) ---
    // Typing: overwrites at offset, or inserts there in InsertMode; one undo step.
    void typeBytes(std::size_t offset, std::span<const std::uint8_t> bytes);
    // Overwrites bytes in place (a single nibble edit passes the whole new byte); one undo step.
    void overwrite(std::size_t offset, std::span<const std::uint8_t> bytes);
    void insert(std::size_t offset, std::span<const std::uint8_t> bytes);
    void erase(std::size_t offset, std::size_t count);
    bool isChanged(std::size_t offset) const;

    // Bytes a failed verify found different on the chip (offsets in rising order): marked
    // until the contents change.
    void markDifferences(std::vector<std::size_t> offsets);
    bool isDifferent(std::size_t offset) const;
    const std::vector<std::size_t>& differences() const { return differences_; }

    // The byte the view's cursor is on; ByteCount() is the place after the last byte.
    std::size_t cursor() const { return cursor_; }
    void setCursor(std::size_t offset); // clamped to 0..ByteCount()

    // The undo history keeps its newest steps up to this many stored bytes (old bytes and
    // their marks, new bytes).
    static constexpr std::size_t kHistoryBytes = 64u * 1024 * 1024;

private:
    // One step of the history: the bytes at offset were before, and are after, the edit.
    struct Edit {
        std::size_t offset;
        Bytes before;
        Marks beforeMarks;
        Bytes after;
        std::size_t size() const { return 2 * before.size() + after.size(); }
    };

    // Replaces count bytes at offset by bytes as one user edit.
    void replace(std::size_t offset, std::size_t count, std::span<const std::uint8_t> bytes);
    // Puts bytes in place of `removed` bytes at offset, with the given changed marks, or all
    // marked when there are none.
    void swapIn(std::size_t offset, std::size_t removed, const Bytes& bytes, const Marks* marks);
    void clearHistory();
    void changed();

    Bytes data_;
    Marks changed_;
    std::vector<std::size_t> differences_;
    bool readOnly_ = true;
    bool insertMode_ = false;
    bool locked_ = false;
    bool unsaved_ = false;
    std::size_t cursor_ = 0;
    std::deque<Edit> undo_;
    std::vector<Edit> redo_;
    std::size_t historyBytes_ = 0;
};

} // namespace tarvik
