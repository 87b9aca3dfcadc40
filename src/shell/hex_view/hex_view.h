// The hex view: draws a HexBuffer as rows of 16 bytes (offset, hex digits, characters) and
// turns keys and clicks into calls on it. Only the rows in sight are painted, so the size of
// the buffer does not matter. It holds no logic of its own: the window calls refresh() from
// the buffer's OnChange.
#pragma once

#include <QAbstractScrollArea>

#include "buffer/hex_buffer.h"

namespace tarvik {

class HexView : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int BytesPerRow = 16;

    explicit HexView(HexBuffer& buffer, QWidget* parent = nullptr);

    // Rows painted by the last paint, for checking that painting stays with the visible rows.
    int paintedRows() const { return paintedRows_; }
    // True while the cursor is in the character column rather than the hex column.
    bool inCharacterColumn() const { return charColumn_; }

public slots:
    // Picks up a changed buffer: scroll range, cursor, and a repaint.
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override; // Tab switches the column instead

private:
    struct Layout {
        int charWidth;
        int rowHeight;
        int offsetDigits;
        int hexX;  // left edge of the hex column
        int charX; // left edge of the character column
    };
    Layout layout() const;
    int rowCount() const;
    int visibleRows() const;
    std::size_t lastPosition() const; // the furthest the cursor may go
    void moveTo(std::ptrdiff_t position);
    void ensureCursorVisible();
    void typeHexDigit(int digit);
    void typeCharacter(std::uint8_t byte);

    HexBuffer& buffer_;
    bool charColumn_ = false;
    int nibble_ = 0;              // 1 after the high digit of the byte under the cursor was typed
    std::size_t shownCursor_ = 0; // the cursor as of the last refresh
    int paintedRows_ = 0;
};

} // namespace tarvik
