// Shrinking a widget's face half a point at a time until its text fits its box.
#include "shell/text_fit.h"

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace tarvik {

namespace {

// Smaller than this no caption is readable; a text that still does not fit is left at it.
constexpr qreal kSmallestPointSize = 6.0;

template <typename Fits>
void shrinkUntil(QWidget* widget, Fits fits) {
    widget->setFont(QFont()); // back to the face and size the widget inherits
    QFont font = widget->font();
    while (!fits() && font.pointSizeF() - 0.5 >= kSmallestPointSize) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        widget->setFont(font);
    }
}

} // namespace

void fitText(QLabel* label) {
    shrinkUntil(label, [label] {
        if (label->wordWrap())
            return label->heightForWidth(label->width()) <= label->height();
        return label->fontMetrics().horizontalAdvance(label->text()) <=
               label->contentsRect().width();
    });
}

void fitText(QPushButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const int width =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
    shrinkUntil(button, [button, width] {
        return button->fontMetrics().horizontalAdvance(button->text()) <= width;
    });
}

} // namespace tarvik
