// The hex view's layout, painting, scrolling and mouse handling.
#include "shell/hex_view/hex_view.h"

#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace tarvik {
namespace {

const QColor kChangedBackground(255, 255, 168);
const QColor kChangedText(128, 0, 0);
// Bytes a failed verify found different on the chip.
const QColor kDifferentBackground(255, 176, 176);
const QColor kDifferentText(0, 0, 0);
const QColor kCursorFocused(0, 0, 128);
const QColor kCursorUnfocused(0, 255, 255);
const QColor kCurrentOffsetBackground(192, 220, 192);

// "Courier New" where the system has it; else the system's fixed-pitch face, or any
// fixed-pitch face installed, since the columns line up only in one (the face the system names
// for fixed pitch may itself be missing and stand for a proportional one, as under wine).
QFont viewFont() {
    const QStringList installed = QFontDatabase::families();
    QStringList candidates{QStringLiteral("Courier New"),
                           QFontDatabase::systemFont(QFontDatabase::FixedFont).family()};
    candidates += installed;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (const QString& family : candidates) {
        if (installed.contains(family) && QFontDatabase::isFixedPitch(family)) {
            font = QFont(family);
            break;
        }
    }
    font.setPixelSize(13);
    return font;
}

// Bytes shown as their Latin-1 character where it is printable.
QChar shownCharacter(std::uint8_t byte) {
    const bool printable = (byte >= 0x20 && byte < 0x7F) || byte >= 0xA0;
    return printable ? QChar(byte) : QChar('.');
}

QString hexText(std::uint64_t value, int digits) {
    return QString::number(value, 16).toUpper().rightJustified(digits, QChar('0'));
}

} // namespace

HexView::HexView(HexBuffer& buffer, QWidget* parent)
    : QAbstractScrollArea(parent), buffer_(buffer) {
    setFont(viewFont());
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    refresh();
}

void HexView::refresh() {
    buffer_.setCursor(std::min(buffer_.cursor(), lastPosition()));
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, rowCount() - visibleRows()));
    bar->setPageStep(visibleRows());
    bar->setSingleStep(1);
    // The program moved the cursor (to a failed verify's first difference): show it.
    if (buffer_.cursor() != shownCursor_) {
        shownCursor_ = buffer_.cursor();
        ensureCursorVisible();
    }
    viewport()->update();
}

HexView::Layout HexView::layout() const {
    const QFontMetrics metrics(font());
    Layout l{};
    l.charWidth = metrics.horizontalAdvance(QChar('0'));
    l.rowHeight = metrics.height();
    l.offsetDigits = 4;
    for (std::size_t size = buffer_.bytes().size(); size > 0xFFFF; size >>= 4)
        ++l.offsetDigits;
    l.hexX = (2 + l.offsetDigits + 2) * l.charWidth;
    l.charX = l.hexX + (3 * BytesPerRow + 1) * l.charWidth;
    return l;
}

int HexView::rowCount() const {
    const std::size_t positions = lastPosition() + (buffer_.bytes().empty() ? 0 : 1);
    return static_cast<int>((positions + BytesPerRow - 1) / BytesPerRow);
}

int HexView::visibleRows() const {
    return std::max(1, viewport()->height() / layout().rowHeight);
}

std::size_t HexView::lastPosition() const {
    const std::size_t size = buffer_.bytes().size();
    if (buffer_.Editable())
        return size; // the place after the last byte, where typing appends
    return size == 0 ? 0 : size - 1;
}

void HexView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const Layout l = layout();
    const QPalette& pal = palette();
    painter.fillRect(viewport()->rect(), pal.color(QPalette::Base));
    painter.fillRect(0, 0, l.hexX - l.charWidth, viewport()->height(),
                     pal.color(QPalette::AlternateBase));

    const auto& bytes = buffer_.bytes();
    const int first = verticalScrollBar()->value();
    const int last = std::min(rowCount(), first + visibleRows() + 1);
    const std::size_t cursorRow = buffer_.cursor() / BytesPerRow;
    const int ascent = painter.fontMetrics().ascent();
    paintedRows_ = 0;
    for (int row = first; row < last; ++row, ++paintedRows_) {
        const int y = (row - first) * l.rowHeight;
        const std::size_t start = static_cast<std::size_t>(row) * BytesPerRow;
        const QRect offsetCell(0, y, l.hexX - l.charWidth, l.rowHeight);
        const bool current = start / BytesPerRow == cursorRow;
        if (current)
            painter.fillRect(offsetCell, kCurrentOffsetBackground);
        painter.setPen(current ? pal.color(QPalette::Light) : QColor(Qt::black));
        painter.drawText(l.charWidth, y + ascent,
                         QStringLiteral("0x") + hexText(start, l.offsetDigits));

        for (std::size_t i = start; i < std::min(start + BytesPerRow, bytes.size()); ++i) {
            const int column = static_cast<int>(i - start);
            const QRect hexCell(l.hexX + 3 * column * l.charWidth, y, 2 * l.charWidth, l.rowHeight);
            const QRect charCell(l.charX + column * l.charWidth, y, l.charWidth, l.rowHeight);
            const bool different = buffer_.isDifferent(i);
            const bool changed = !different && buffer_.isChanged(i);
            if (different || changed) {
                const QColor& background = different ? kDifferentBackground : kChangedBackground;
                painter.fillRect(hexCell, background);
                painter.fillRect(charCell, background);
            }
            painter.setPen(different ? kDifferentText
                                     : (changed ? kChangedText : QColor(Qt::black)));
            painter.drawText(hexCell.left(), y + ascent, hexText(bytes[i], 2));
            painter.drawText(charCell.left(), y + ascent, QString(shownCharacter(bytes[i])));
        }
    }

    // The cursor, in the column that takes the typing: a frame round the byte when typing
    // overwrites it, a bar before it when typing inserts.
    const std::size_t cursor = buffer_.cursor();
    const int cursorLine = static_cast<int>(cursorRow) - first;
    if (rowCount() > 0 && cursorLine >= 0 && cursorLine < last - first) {
        const int column = static_cast<int>(cursor % BytesPerRow);
        const int y = cursorLine * l.rowHeight;
        const QRect frame =
            charColumn_ ? QRect(l.charX + column * l.charWidth, y, l.charWidth, l.rowHeight)
                        : QRect(l.hexX + 3 * column * l.charWidth, y, 2 * l.charWidth, l.rowHeight);
        const QColor color = hasFocus() ? kCursorFocused : kCursorUnfocused;
        if (buffer_.InsertMode()) {
            // Inserting: a bar before the byte, where the typed byte goes in.
            painter.fillRect(QRect(frame.left(), frame.top(), 2, frame.height()), color);
        } else {
            painter.setPen(color);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(frame.adjusted(0, 0, -1, -1));
        }
    }
}

void HexView::mousePressEvent(QMouseEvent* event) {
    const Layout l = layout();
    const QPoint at = event->position().toPoint();
    const int row = verticalScrollBar()->value() + at.y() / l.rowHeight;
    int column = -1;
    if (at.x() >= l.charX) {
        column = (at.x() - l.charX) / l.charWidth;
        charColumn_ = true;
    } else if (at.x() >= l.hexX) {
        column = (at.x() - l.hexX) / (3 * l.charWidth);
        charColumn_ = false;
    }
    if (column < 0)
        return;
    moveTo(static_cast<std::ptrdiff_t>(row) * BytesPerRow + std::min(column, BytesPerRow - 1));
}

void HexView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    refresh();
}

void HexView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void HexView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

bool HexView::focusNextPrevChild(bool) {
    return false;
}

void HexView::moveTo(std::ptrdiff_t position) {
    const auto last = static_cast<std::ptrdiff_t>(lastPosition());
    buffer_.setCursor(static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(position, 0, last)));
    nibble_ = 0;
    ensureCursorVisible();
    viewport()->update();
}

void HexView::ensureCursorVisible() {
    QScrollBar* bar = verticalScrollBar();
    const int row = static_cast<int>(buffer_.cursor() / BytesPerRow);
    if (row < bar->value())
        bar->setValue(row);
    else if (row >= bar->value() + visibleRows())
        bar->setValue(row - visibleRows() + 1);
}

} // namespace tarvik
