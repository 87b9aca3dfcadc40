// TInfoForm's layout and its show/hide behaviour.
#include "shell/info_form.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

#include "shell/text_fit.h"

namespace tarvik {

namespace {

constexpr int kWidth = 454;
constexpr int kHeight = 399;
constexpr int kBorder = 3;

const char* const kEepromList =
    "             24xx00, 24xx01, 24xx02, 24xx04,24xx08, 24xx16, 24xx32,"
    "                                       24xx64,24xx128, 24xx256, 24xx512";
const char* const kAvrList =
    "90S1200, 90S2313, 90S/LS2323, 90S/LS2333, 90S/LS2343, 90S/LS4433, 90S8515, 90S/LS8535, "
    "ATmega8(L), ATmega16(L), ATmega32(L), ATmega64(L), ATmega128(L), ATmega8515(L), "
    "ATmega8535(L), ATmega162(V), ATmega165(V), ATmega169(V), ATmega48(V), ATmega88(V), "
    "ATmega168(V), ATtiny12(L/V), ATtiny13(V), ATtiny15L, ATtiny22(L), ATtiny26(L), ATtiny2313";

QFrame* panel(QWidget* parent, QColor colour) {
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::NoFrame);
    frame->setAutoFillBackground(true);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::Window, colour);
    frame->setPalette(palette);
    return frame;
}

QLabel* label(QWidget* parent, const char* text, QRect geometry, bool wrap) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(wrap);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (geometry.size().isEmpty()) {
        label->move(geometry.topLeft());
        label->adjustSize();
    } else {
        label->setGeometry(geometry);
    }
    return label;
}

QLabel* heading(QWidget* parent, const char* text, QPoint position) {
    QLabel* heading = label(parent, text, QRect(position, QSize()), false);
    QFont font = heading->font();
    font.setUnderline(true);
    heading->setFont(font);
    heading->adjustSize();
    return heading;
}

} // namespace

TInfoForm::TInfoForm(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(kWidth, kHeight);

    Panel1 = panel(this, QColor(96, 128, 96));
    Panel1->setGeometry(0, 0, kWidth, kHeight);
    Panel2 = panel(Panel1, QColor(192, 220, 192));
    Panel2->setGeometry(kBorder, kBorder, kWidth - 2 * kBorder, kHeight - 2 * kBorder);

    Label1 = label(Panel2, "Tarvik v 2.5 ", QRect(24, 88, 402, 37), false);
    QFont title = Label1->font();
    title.setPixelSize(32);
    title.setBold(true);
    Label1->setFont(title);
    Label1->setAlignment(Qt::AlignCenter);
    QPalette red = Label1->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label1->setPalette(red);

    Label8 = heading(Panel2, "i2c - Socket:", QPoint(44, 160));
    Label7 = label(Panel2, kEepromList, QRect(52, 192, 349, 39), true);
    Label9 = heading(Panel2, "AVR - ISP:", QPoint(44, 240));
    Label10 = label(Panel2, kAvrList, QRect(52, 272, 349, 89), true);
    fitText(Label7);
    fitText(Label10);

    for (QObject* watched : {static_cast<QObject*>(Panel1), static_cast<QObject*>(Panel2),
                             static_cast<QObject*>(Label1), static_cast<QObject*>(Label7),
                             static_cast<QObject*>(Label8), static_cast<QObject*>(Label9),
                             static_cast<QObject*>(Label10)})
        watched->installEventFilter(this);

    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TInfoForm::showInFront() {
    show();
    raise();
    activateWindow();
}

void TInfoForm::Panel2Click() {
    hide();
}

void TInfoForm::Label1Click() {
    hide();
}

bool TInfoForm::eventFilter(QObject* watched, QEvent* event) {
    const bool press =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    const bool release = event->type() == QEvent::MouseButtonRelease;
    if (!press && !release)
        return QWidget::eventFilter(watched, event);
    if (watched == Label1) {
        if (release)
            Label1Click();
        return true;
    }
    if (watched == Panel1 || watched == Panel2) {
        if (release)
            Panel2Click();
        return true;
    }
    // The chip lists and their headings keep the click to themselves.
    return true;
}

void TInfoForm::mouseReleaseEvent(QMouseEvent*) {
    Panel2Click();
}

void TInfoForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        Panel2Click();
    else
        QWidget::keyPressEvent(event);
}

void TInfoForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow())
        Panel2Click();
    QWidget::changeEvent(event);
}

} // namespace tarvik
