// TInfoForm: the borderless, always-on-top panel with the program's title and the lists of
// supported chips. It is made once, hidden, and only shown and hidden afterwards; a click on
// its background or title, or the loss of activation, hides it again.
#pragma once

#include <QWidget>

class QFrame;
class QLabel;

namespace tarvik {

class TInfoForm : public QWidget {
    Q_OBJECT
public:
    explicit TInfoForm(QWidget* parent = nullptr);

    // Shows the window without waiting for it, or brings it to the front when shown.
    void showInFront();

    void Panel2Click(); // hides the window (also for the window itself and Panel1)
    void Label1Click(); // hides the window

    QFrame* Panel1;
    QFrame* Panel2;
    QLabel* Label1;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override; // Esc closes it, as a click does
    void changeEvent(QEvent* event) override;
};

} // namespace tarvik
