// The buffer model: modes, changed marks, the undo history of ranges, and the notification.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "buffer/file_io.h"
#include "buffer/hex_buffer.h"
#include "common/user_error.h"
#include "hex_test_support.h"

namespace tarvik {
namespace {

using test::Bytes;

// A buffer in edit mode holding 00 11 22 33 44 that counts its notifications.
class EditedBuffer : public ::testing::Test {
protected:
    void SetUp() override {
        buffer.OnChange = [this] { ++changes; };
        buffer.SetAllBytes({0x00, 0x11, 0x22, 0x33, 0x44});
        buffer.setReadOnlyView(false);
        changes = 0;
    }
    std::vector<bool> marks() const {
        std::vector<bool> result;
        for (std::size_t i = 0; i < buffer.bytes().size(); ++i)
            result.push_back(buffer.isChanged(i));
        return result;
    }
    HexBuffer buffer;
    int changes = 0;
};

TEST(HexBufferStart, EmptyAndViewOnlyIgnoringEdits) {
    HexBuffer buffer;
    EXPECT_EQ(buffer.ByteCount(), 0);
    EXPECT_TRUE(buffer.ReadOnlyView());
    EXPECT_FALSE(buffer.InsertMode());
    int changes = 0;
    buffer.OnChange = [&] { ++changes; };
    buffer.SetAllBytes({1, 2});
    buffer.overwrite(0, Bytes{9});
    buffer.insert(0, Bytes{9});
    buffer.erase(0, 1);
    EXPECT_EQ(buffer.GetAllBytes(), (Bytes{1, 2}));
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(buffer.isChanged(0));
}

TEST_F(EditedBuffer, RangeEditIsOneStepAndUndoRestoresBytesAndMarks) {
    buffer.overwrite(1, Bytes{0xAA});
    buffer.overwrite(2, Bytes{0xBB, 0xCC, 0xDD}); // a fill or paste: one step
    EXPECT_EQ(buffer.GetAllBytes(), (Bytes{0x00, 0xAA, 0xBB, 0xCC, 0xDD}));
    EXPECT_EQ(marks(), (std::vector<bool>{false, true, true, true, true}));

    buffer.UndoEdit();
    EXPECT_EQ(buffer.GetAllBytes(), (Bytes{0x00, 0xAA, 0x22, 0x33, 0x44}));
    EXPECT_EQ(marks(), (std::vector<bool>{false, true, false, false, false}));
    EXPECT_EQ(buffer.cursor(), 2u);
    buffer.RedoEdit();
    EXPECT_EQ(buffer.GetAllBytes(), (Bytes{0x00, 0xAA, 0xBB, 0xCC, 0xDD}));
    EXPECT_EQ(changes, 4);

    // A new edit drops the steps that could have been redone.
    buffer.UndoEdit();
    buffer.overwrite(0, Bytes{1});
    EXPECT_FALSE(buffer.RedoAvailable());
}

TEST_F(EditedBuffer, InsertModeGrowsAndUndoShrinks) {
    buffer.setInsertMode(true);
    buffer.typeBytes(5, Bytes{0x55});       // at the end
    buffer.typeBytes(0, Bytes{0xE0, 0xE1}); // at the start
    EXPECT_EQ(buffer.GetAllBytes(), (Bytes{0xE0, 0xE1, 0x00, 0x11, 0x22, 0x33, 0x44, 0x55}));
    EXPECT_EQ(marks(), (std::vector<bool>{true, true, false, false, false, false, false, true}));
    buffer.erase(2, 3);
    EXPECT_EQ(buffer.ByteCount(), 5);
    buffer.UndoEdit();
    buffer.UndoEdit();
    buffer.UndoEdit();
    EXPECT_EQ(buffer.GetAllBytes(), (Bytes{0x00, 0x11, 0x22, 0x33, 0x44}));
    EXPECT_EQ(marks(), std::vector<bool>(5, false));
    EXPECT_EQ(changes, 6);
}

TEST_F(EditedBuffer, OverwriteAtTheEndAppendsAndBeyondIsIgnored) {
    buffer.typeBytes(4, Bytes{0xF4, 0xF5});
    EXPECT_EQ(buffer.GetAllBytes(), (Bytes{0x00, 0x11, 0x22, 0x33, 0xF4, 0xF5}));
    buffer.typeBytes(7, Bytes{1});
    buffer.erase(6, 1);
    EXPECT_EQ(buffer.ByteCount(), 6);
    EXPECT_EQ(changes, 1);
    buffer.UndoEdit();
    EXPECT_EQ(buffer.GetAllBytes(), (Bytes{0x00, 0x11, 0x22, 0x33, 0x44}));
}

TEST_F(EditedBuffer, UndoRedoAvailabilityFollowsEditModeAndHistory) {
    EXPECT_FALSE(buffer.UndoAvailable());
    buffer.overwrite(0, Bytes{1});
    EXPECT_TRUE(buffer.UndoAvailable());
    buffer.UndoEdit();
    EXPECT_FALSE(buffer.UndoAvailable());
    EXPECT_TRUE(buffer.RedoAvailable());
    buffer.RedoEdit();
    EXPECT_TRUE(buffer.UndoAvailable());
    EXPECT_FALSE(buffer.RedoAvailable());

    buffer.setReadOnlyView(true);
    EXPECT_FALSE(buffer.UndoAvailable());
    buffer.UndoEdit(); // ignored while view-only
    EXPECT_EQ(buffer.GetAllBytes()[0], 1);
    buffer.setReadOnlyView(false);
    EXPECT_TRUE(buffer.UndoAvailable());
}

TEST_F(EditedBuffer, ReplaceClearsMarksHistoryAndCursor) {
    buffer.overwrite(3, Bytes{9});
    buffer.setCursor(4);
    buffer.SetAllBytes({7, 7});
    EXPECT_FALSE(buffer.UndoAvailable());
    EXPECT_FALSE(buffer.RedoAvailable());
    EXPECT_EQ(marks(), std::vector<bool>(2, false));
    EXPECT_EQ(buffer.cursor(), 0u);
    EXPECT_EQ(changes, 2);
}

TEST_F(EditedBuffer, HistoryKeepsTheNewestStepsWithinItsCapacity) {
    // The first overwrite stores an eighth of the capacity, each later one three eighths, so
    // the fourth drops the oldest steps.
    const Bytes big(HexBuffer::kHistoryBytes / 8, 0x5A);
    buffer.insert(5, Bytes{1});
    for (int i = 0; i < 4; ++i)
        buffer.overwrite(0, big);
    int steps = 0;
    while (buffer.UndoAvailable()) {
        buffer.UndoEdit();
        ++steps;
    }
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(buffer.GetAllBytes().front(), 0x5A);
}

TEST_F(EditedBuffer, BinaryFilesLoadAndSaveThroughTheModel) {
    const std::string file = (std::filesystem::temp_directory_path() /
                              ("tarvik-buffer-" + std::to_string(::getpid()) + ".bin"))
                                 .string();
    buffer.overwrite(0, Bytes{0xEE});
    buffer.SaveBinaryFile(file, 1);
    EXPECT_FALSE(buffer.isChanged(0));
    EXPECT_FALSE(buffer.UndoAvailable());
    EXPECT_EQ(readWholeFile(file, 1), (Bytes{0xEE, 0x11, 0x22, 0x33, 0x44}));

    buffer.SetAllBytes({});
    buffer.LoadBinaryFile(file, 1);
    EXPECT_EQ(buffer.ByteCount(), 5);
    std::filesystem::remove(file);

    const int before = changes;
    EXPECT_THROW(buffer.LoadBinaryFile(file, 1), UserError);
    EXPECT_EQ(buffer.ByteCount(), 5);
    EXPECT_EQ(changes, before);
}

} // namespace
} // namespace tarvik
