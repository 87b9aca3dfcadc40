// The info window: its fixed texts and layout, showing it from the menu, and what hides it.
#include <gtest/gtest.h>

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QTest>

#include "shell/info_form.h"
#include "shell_fixtures.h"

using namespace tarvik;

TEST(InfoWindow, LayoutAndTexts) {
    TInfoForm info;
    EXPECT_TRUE(info.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(info.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(info.size(), QSize(454, 399));
    EXPECT_EQ(info.Panel2->geometry(), QRect(3, 3, 448, 393));
    EXPECT_EQ(info.Panel2->palette().color(QPalette::Window), QColor(192, 220, 192));
    EXPECT_EQ(info.Label1->text(), "Tarvik v 2.5 ");
    EXPECT_EQ(info.Label1->geometry(), QRect(24, 88, 402, 37));
    EXPECT_TRUE(info.Label1->font().bold());
    EXPECT_EQ(info.Label1->font().pixelSize(), 32);
    EXPECT_TRUE(info.Label8->font().underline());
    EXPECT_EQ(info.Label8->text(), "i2c - Socket:");
    EXPECT_EQ(info.Label9->text(), "AVR - ISP:");
    const QString eeproms = info.Label7->text();
    EXPECT_TRUE(eeproms.startsWith(QString(13, ' ') + "24xx00, "));
    EXPECT_TRUE(
        eeproms.contains("24xx32," + QString(39, ' ') + "24xx64,24xx128, 24xx256, 24xx512"));
    EXPECT_TRUE(info.Label10->text().startsWith("90S1200, 90S2313, 90S/LS2323"));
    EXPECT_TRUE(info.Label10->text().endsWith("ATtiny26(L), ATtiny2313"));
    EXPECT_TRUE(info.Label10->wordWrap());
    // The chip lists fit their boxes.
    for (QLabel* list : {info.Label7, info.Label10})
        EXPECT_LE(list->heightForWidth(list->width()), list->height())
            << list->text().toStdString();
    EXPECT_TRUE(info.isHidden());
}

TEST(InfoWindow, ShownFromTheMenuHiddenByTheMainWindowAndBackgroundClicks) {
    TempSettings store;
    auto session = emulatedSession();
    MainWindow& window = session->window();
    TInfoForm& info = session->infoForm();
    window.show();
    EXPECT_FALSE(info.isVisible());

    window.action("nInfo")->trigger();
    EXPECT_TRUE(info.isVisible());
    // Clicks on the chip lists and their headings leave it open.
    for (QLabel* label : {info.Label7, info.Label8, info.Label9, info.Label10}) {
        QTest::mouseClick(label, Qt::LeftButton);
        EXPECT_TRUE(info.isVisible()) << label->text().toStdString();
    }
    // Activating the main window hides it; it can be shown again, even twice in a row.
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    EXPECT_TRUE(runUntil([&] { return !info.isVisible(); }));
    window.action("nInfo")->trigger();
    window.action("nInfo")->trigger();
    EXPECT_TRUE(info.isVisible());

    for (QWidget* target : {static_cast<QWidget*>(info.Label1), static_cast<QWidget*>(info.Panel2),
                            static_cast<QWidget*>(info.Panel1)}) {
        info.showInFront();
        const QPoint corner(1, 1);
        QTest::mouseClick(target, Qt::LeftButton, {}, corner);
        EXPECT_FALSE(info.isVisible()) << target->metaObject()->className();
    }
    info.showInFront();
    QTest::keyClick(&info, Qt::Key_Escape);
    EXPECT_FALSE(info.isVisible());
}
