// The hex view driven by keys and clicks, offscreen: it edits the model, and paints only the
// rows in sight.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QScrollBar>
#include <QTest>

#include "shell/hex_view/hex_view.h"

namespace tarvik {
namespace {

// A shown view of 400 × 300 pixels over a buffer; the model's OnChange refreshes the view as
// the window does.
class ViewTest : public ::testing::Test {
protected:
    void show(HexBuffer::Bytes bytes, bool editable, bool insert = false) {
        buffer.SetAllBytes(std::move(bytes));
        buffer.setReadOnlyView(!editable);
        buffer.setInsertMode(insert);
        view.refresh();
        view.resize(600, 300);
        view.show();
        view.setFocus();
    }
    HexBuffer::Bytes bytes() const { return buffer.GetAllBytes(); }

    HexBuffer buffer;
    HexView view{buffer};
    void SetUp() override {
        buffer.OnChange = [this] { view.refresh(); };
    }
};

TEST_F(ViewTest, TypingHexDigitsOverwritesAndMarks) {
    show({0x00, 0x11, 0x22}, true);
    QTest::keyClicks(&view, "a5");
    EXPECT_EQ(bytes(), (HexBuffer::Bytes{0xA5, 0x11, 0x22}));
    EXPECT_TRUE(buffer.isChanged(0));
    EXPECT_FALSE(buffer.isChanged(1));
    EXPECT_EQ(buffer.cursor(), 1u);
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(&view, "7");
    EXPECT_EQ(bytes(), (HexBuffer::Bytes{0xA5, 0x11, 0x22, 0x70})); // appended at the end
    QTest::keyClicks(&view, "xg");                                  // not hex digits
    EXPECT_EQ(bytes().size(), 4u);
}

TEST_F(ViewTest, TheInsertKeySwitchesBetweenInsertingAndOverwriting) {
    show({0x11, 0x22}, true, true);
    QTest::keyClick(&view, Qt::Key_Insert);
    EXPECT_FALSE(buffer.InsertMode());
    QTest::keyClicks(&view, "ab");
    EXPECT_EQ(bytes(), (HexBuffer::Bytes{0xAB, 0x22}));
    QTest::keyClick(&view, Qt::Key_Insert);
    EXPECT_TRUE(buffer.InsertMode());
    QTest::keyClicks(&view, "cd");
    EXPECT_EQ(bytes(), (HexBuffer::Bytes{0xAB, 0xCD, 0x22}));
    show({0x11}, false); // not while editing is off
    QTest::keyClick(&view, Qt::Key_Insert);
    EXPECT_FALSE(buffer.InsertMode());
}

TEST_F(ViewTest, ACursorMovedByTheProgramIsScrolledTo) {
    show(HexBuffer::Bytes(65536, 0), false);
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);
    buffer.setCursor(60000); // as a failed verify's first difference
    buffer.markDifferences({60000});
    view.refresh();
    const int row = 60000 / HexView::BytesPerRow;
    EXPECT_LE(view.verticalScrollBar()->value(), row);
    EXPECT_GT(view.verticalScrollBar()->value() + 40, row);
}

TEST_F(ViewTest, InsertModeGrowsTheBuffer) {
    show({0x11, 0x22}, true, true);
    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClicks(&view, "Ab");
    EXPECT_EQ(bytes(), (HexBuffer::Bytes{0x11, 0xAB, 0x22}));
    QTest::keyClick(&view, Qt::Key_Tab);
    QTest::keyClicks(&view, "Z");
    EXPECT_EQ(bytes(), (HexBuffer::Bytes{0x11, 0xAB, 'Z', 0x22}));
    QTest::keyClick(&view, Qt::Key_Backspace);
    EXPECT_EQ(bytes(), (HexBuffer::Bytes{0x11, 0xAB, 0x22}));
    buffer.UndoEdit();
    EXPECT_EQ(bytes(), (HexBuffer::Bytes{0x11, 0xAB, 'Z', 0x22}));
}

TEST_F(ViewTest, ViewOnlyIgnoresTypingButNavigates) {
    show(HexBuffer::Bytes(100, 0), false);
    QTest::keyClicks(&view, "ff");
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_End);
    EXPECT_EQ(buffer.cursor(), 31u);
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(buffer.cursor(), 99u);
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(buffer.cursor(), 99u);
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(buffer.cursor(), 0u);
    EXPECT_EQ(bytes(), HexBuffer::Bytes(100, 0));
}

TEST_F(ViewTest, FontIsCourierNewWhereInstalledAndFixedPitchAlways) {
    const QFontInfo font(view.font());
    EXPECT_TRUE(font.fixedPitch()) << font.family().toStdString();
    EXPECT_EQ(font.pixelSize(), 13);
    if (QFontDatabase::families().contains(QStringLiteral("Courier New"))) {
        EXPECT_EQ(font.family(), QStringLiteral("Courier New"));
    }
}

TEST_F(ViewTest, ClickPlacesTheCursorInEitherColumn) {
    show(HexBuffer::Bytes(64, 0), true);
    const QFontMetrics metrics(view.font());
    const int w = metrics.horizontalAdvance(QChar('0'));
    const int y = metrics.height() * 2 + 2; // third row
    // Offset column "0x" + 4 digits + 2 spaces, then 3 characters per byte.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(8 * w + 3 * 5 * w + 1, y));
    EXPECT_EQ(buffer.cursor(), 2u * 16 + 5);
    EXPECT_FALSE(view.inCharacterColumn());
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(8 * w + 49 * w + 7 * w + 1, y));
    EXPECT_EQ(buffer.cursor(), 2u * 16 + 7);
    EXPECT_TRUE(view.inCharacterColumn());
}

// Whether any pixel of the painted view has this colour.
bool paintsColour(HexView& view, QColor colour) {
    const QImage image = view.grab().toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour)
                return true;
        }
    }
    return false;
}

TEST_F(ViewTest, DifferencesFromTheChipHaveTheirOwnColourUntilTheBufferChanges) {
    const QColor different(255, 176, 176);
    const QColor changed(255, 255, 168);
    show({0x00, 0x11, 0x22, 0x33}, true);
    EXPECT_FALSE(paintsColour(view, different));
    buffer.markDifferences({1, 3});
    view.refresh();
    EXPECT_TRUE(paintsColour(view, different));
    EXPECT_FALSE(paintsColour(view, changed));
    QTest::keyClicks(&view, "a5"); // an edit: the marks described the old contents
    EXPECT_TRUE(buffer.differences().empty());
    EXPECT_FALSE(paintsColour(view, different));
    EXPECT_TRUE(paintsColour(view, changed));
}

TEST_F(ViewTest, PaintsOnlyTheVisibleRowsWhateverTheSize) {
    show(HexBuffer::Bytes(1024, 0), true);
    view.grab();
    const int smallRows = view.paintedRows();
    EXPECT_GT(smallRows, 5);
    EXPECT_LT(smallRows, 40);

    show(HexBuffer::Bytes(16u * 1024 * 1024 - 1, 0), true);
    view.grab();
    EXPECT_EQ(view.paintedRows(), smallRows);
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(&view, "12"); // the largest buffer a file may hold
    EXPECT_EQ(buffer.ByteCount(), 16 * 1024 * 1024);
    view.grab();
    EXPECT_LE(view.paintedRows(), smallRows);
    EXPECT_GT(view.paintedRows(), 0);
}

} // namespace
} // namespace tarvik

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
