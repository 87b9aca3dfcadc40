// Captions in boxes of a fixed size: where the system's fonts measure a text wider (or, wrapped,
// taller) than its box, the widget takes a smaller size of the same face, so that no caption is
// ever cut off whatever faces the system has.
#pragma once

class QLabel;
class QPushButton;

namespace tarvik {

// A one-line label must fit its width; a word-wrapped one its height at its width.
void fitText(QLabel* label);
void fitText(QPushButton* button);

} // namespace tarvik
