// The Buffer menu and the window's reaction to buffer changes.
#include <vector>

#include "form_fixture.h"

namespace tarvik::test {
namespace {

class BufferMenuTest : public FormTest {
protected:
    void SetUp() override { plugProgrammer(); }

    void typeByte(std::size_t offset, std::uint8_t value) {
        const std::uint8_t bytes[] = {value};
        form->Hexeditor.overwrite(offset, bytes);
    }
};

TEST_F(BufferMenuTest, AReplaceShowsTheSizeAndEnablesWhatNeedsData) {
    form->nAVRISPClick(); // EEPROM reading enabled, programming not (empty buffer)
    ASSERT_FALSE(form->bProg.enabled || form->nsave.enabled || form->nprogeeprom.enabled);
    form->Hexeditor.SetAllBytes(HexBuffer::Bytes(256, 0x5A));
    EXPECT_EQ(form->StatusBar.panels[2], "256 байт");
    for (const MenuItem* item :
         {&form->nsave, &form->nprogflash, &form->nverifyflash, &form->nprogeeprom})
        EXPECT_TRUE(item->enabled);
    for (const Button* button : {&form->bProg, &form->bVergl, &form->bprogeeprom})
        EXPECT_TRUE(button->enabled);
}

TEST_F(BufferMenuTest, AnEmptyReplaceShowsZeroAndEnablesNothing) {
    form->N24AA01Click();
    form->Hexeditor.SetAllBytes({});
    EXPECT_EQ(form->StatusBar.panels[2], "0 байт");
    EXPECT_FALSE(form->bProg.enabled || form->bVergl.enabled || form->nsave.enabled ||
                 form->nprogflash.enabled || form->nverifyflash.enabled);

    // Nor does it disable what an earlier load enabled.
    form->Hexeditor.SetAllBytes({1});
    form->Hexeditor.SetAllBytes({});
    EXPECT_TRUE(form->bProg.enabled && form->nsave.enabled);
}

TEST_F(BufferMenuTest, EditModeUndoAndRedo) {
    form->Hexeditor.SetAllBytes({0, 0, 0, 0});
    form->neditbufferClick();
    EXPECT_TRUE(form->neditbuffer.checked);
    EXPECT_FALSE(form->Hexeditor.ReadOnlyView());
    EXPECT_TRUE(form->Hexeditor.InsertMode());
    EXPECT_FALSE(form->nUndo.enabled || form->nRedo.enabled);

    typeByte(1, 0x11);
    EXPECT_TRUE(form->nUndo.enabled);
    EXPECT_FALSE(form->nRedo.enabled);

    // Undo of the only edit: Undo off, Redo on; the redo turns them round again.
    form->nUndoClick();
    EXPECT_EQ(form->Hexeditor.bytes(), (HexBuffer::Bytes{0, 0, 0, 0}));
    EXPECT_FALSE(form->nUndo.enabled);
    EXPECT_TRUE(form->nRedo.enabled);
    form->nRedoClick();
    EXPECT_EQ(form->Hexeditor.bytes(), (HexBuffer::Bytes{0, 0x11, 0, 0}));
    EXPECT_TRUE(form->nUndo.enabled);
    EXPECT_FALSE(form->nRedo.enabled);

    // Two edits: one undo leaves Undo available.
    typeByte(2, 0x22);
    form->nUndoClick();
    EXPECT_TRUE(form->nUndo.enabled && form->nRedo.enabled);

    // Edit mode off with steps pending disables both; on again, they wait for the next edit.
    form->neditbufferClick();
    EXPECT_FALSE(form->neditbuffer.checked);
    EXPECT_TRUE(form->Hexeditor.ReadOnlyView());
    EXPECT_FALSE(form->nUndo.enabled || form->nRedo.enabled);
    form->neditbufferClick();
    EXPECT_FALSE(form->nUndo.enabled || form->nRedo.enabled);
    typeByte(3, 0x33);
    EXPECT_TRUE(form->nUndo.enabled);

    // A replace (as at the end of a read) clears the history.
    form->Hexeditor.SetAllBytes({9, 9});
    EXPECT_FALSE(form->Hexeditor.UndoAvailable());
}

TEST_F(BufferMenuTest, AnEditDuringAJobDoesNotOfferASecondJob) {
    form->N24AA01Click();
    form->neditbufferClick();
    form->DisableControls(); // as at the start of a job
    form->Hexeditor.SetAllBytes({1, 2, 3});
    typeByte(0, 0x44);
    EXPECT_EQ(form->StatusBar.panels[2], "3 байт");
    EXPECT_FALSE(form->bProg.enabled || form->bVergl.enabled || form->bprogeeprom.enabled);
    form->EnableControls(); // the job finished
    EXPECT_TRUE(form->bProg.enabled && form->bVergl.enabled);
    EXPECT_TRUE(form->nsave.enabled);
}

} // namespace
} // namespace tarvik::test
