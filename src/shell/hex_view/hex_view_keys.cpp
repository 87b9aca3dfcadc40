// The hex view's keyboard: navigation, Tab between the columns, Insert between inserting and
// overwriting, and typing in overwrite or insert mode (two hex digits per byte in the hex column,
// one character per byte in the character column).
#include <QKeyEvent>

#include "shell/hex_view/hex_view.h"

namespace tarvik {

void HexView::keyPressEvent(QKeyEvent* event) {
    const auto cursor = static_cast<std::ptrdiff_t>(buffer_.cursor());
    const std::ptrdiff_t rowStart = cursor - cursor % BytesPerRow;
    const std::ptrdiff_t page = static_cast<std::ptrdiff_t>(visibleRows()) * BytesPerRow;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        charColumn_ = !charColumn_;
        nibble_ = 0;
        viewport()->update();
        return;
    case Qt::Key_Left:
        if (nibble_ == 1 && !charColumn_)
            moveTo(cursor);
        else
            moveTo(cursor - 1);
        return;
    case Qt::Key_Right:
        return moveTo(cursor + 1);
    case Qt::Key_Up:
        return moveTo(cursor - BytesPerRow);
    case Qt::Key_Down:
        return moveTo(cursor + BytesPerRow);
    case Qt::Key_PageUp:
        return moveTo(cursor - page);
    case Qt::Key_PageDown:
        return moveTo(cursor + page);
    case Qt::Key_Home:
        return moveTo(ctrl ? 0 : rowStart);
    case Qt::Key_End:
        return moveTo(ctrl ? static_cast<std::ptrdiff_t>(lastPosition())
                           : rowStart + BytesPerRow - 1);
    case Qt::Key_Insert:
        // Switches between inserting and overwriting; the cursor's shape shows which.
        if (buffer_.Editable()) {
            buffer_.setInsertMode(!buffer_.InsertMode());
            nibble_ = 0;
            viewport()->update();
        }
        return;
    case Qt::Key_Delete:
    case Qt::Key_Backspace: {
        if (!buffer_.Editable() || !buffer_.InsertMode())
            return;
        const std::ptrdiff_t at = event->key() == Qt::Key_Delete ? cursor : cursor - 1;
        if (at < 0)
            return;
        buffer_.erase(static_cast<std::size_t>(at), 1);
        return moveTo(at);
    }
    default:
        break;
    }

    const QString text = event->text();
    if (text.size() != 1 || ctrl || !buffer_.Editable()) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const char16_t typed = text.at(0).unicode();
    if (charColumn_ && typed >= 0x20 && typed < 0x100 && typed != 0x7F)
        return typeCharacter(static_cast<std::uint8_t>(typed));
    const int digit = typed < 0x80 ? QChar(typed).digitValue() : -1;
    const int letter = (typed | 0x20) - 'a';
    if (!charColumn_ && digit >= 0)
        return typeHexDigit(digit);
    if (!charColumn_ && letter >= 0 && letter < 6)
        return typeHexDigit(10 + letter);
    QAbstractScrollArea::keyPressEvent(event);
}

void HexView::typeHexDigit(int digit) {
    const std::size_t at = buffer_.cursor();
    const auto& bytes = buffer_.bytes();
    const std::uint8_t old = at < bytes.size() ? bytes[at] : 0;
    if (nibble_ == 0) {
        const std::uint8_t high = static_cast<std::uint8_t>(digit << 4);
        if (buffer_.InsertMode() || at >= bytes.size())
            buffer_.typeBytes(at, std::span(&high, 1));
        else {
            const std::uint8_t byte = static_cast<std::uint8_t>(high | (old & 0x0F));
            buffer_.overwrite(at, std::span(&byte, 1));
        }
        buffer_.setCursor(at);
        nibble_ = 1;
        ensureCursorVisible();
        viewport()->update();
        return;
    }
    const std::uint8_t byte = static_cast<std::uint8_t>((old & 0xF0) | digit);
    buffer_.overwrite(at, std::span(&byte, 1));
    moveTo(static_cast<std::ptrdiff_t>(at) + 1);
}

void HexView::typeCharacter(std::uint8_t byte) {
    const std::size_t at = buffer_.cursor();
    buffer_.typeBytes(at, std::span(&byte, 1));
    moveTo(static_cast<std::ptrdiff_t>(at) + 1);
}

} // namespace tarvik
