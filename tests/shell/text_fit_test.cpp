// Captions in fixed boxes: shrunk only as far as they must be, and back to the inherited size
// when a shorter caption comes.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "shell/text_fit.h"

using namespace tarvik;

TEST(TextFit, ACaptionTooWideForItsBoxShrinksUntilItFitsAndGrowsBackWhenItIsShorter) {
    QWidget parent;
    QFont inherited = parent.font();
    inherited.setPointSize(10);
    parent.setFont(inherited);
    QLabel label(&parent);
    QPushButton button(&parent);
    label.setGeometry(0, 0, 80, 16);
    button.setGeometry(0, 20, 90, 25);

    const QString longText = QStringLiteral("Определить чип");
    for (auto* widget : {static_cast<QWidget*>(&label), static_cast<QWidget*>(&button)}) {
        if (auto* l = qobject_cast<QLabel*>(widget)) {
            l->setText(longText);
            fitText(l);
            EXPECT_LE(l->fontMetrics().horizontalAdvance(longText), l->contentsRect().width());
        } else {
            auto* b = qobject_cast<QPushButton*>(widget);
            b->setText(longText);
            fitText(b);
        }
        EXPECT_LT(widget->font().pointSizeF(), 10.0);
        EXPECT_GE(widget->font().pointSizeF(), 6.0);
        EXPECT_EQ(widget->font().family(), inherited.family());
    }

    label.setText(QStringLiteral("OK"));
    fitText(&label);
    EXPECT_EQ(label.font().pointSizeF(), 10.0);
}

TEST(TextFit, AWrappedLabelMustFitItsHeight) {
    QWidget parent;
    QFont inherited = parent.font();
    inherited.setPointSize(10);
    parent.setFont(inherited);
    QLabel label(&parent);
    label.setWordWrap(true);
    label.setGeometry(0, 0, 200, 40);
    label.setText(QStringLiteral("ATmega8(L), ATmega16(L), ATmega32(L), ATmega64(L), "
                                 "ATmega128(L), ATmega8515(L), ATmega8535(L)"));
    ASSERT_GT(label.heightForWidth(label.width()), label.height());
    fitText(&label);
    EXPECT_LE(label.heightForWidth(label.width()), label.height());
    EXPECT_LT(label.font().pointSizeF(), 10.0);
}
