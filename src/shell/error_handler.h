// The general error handler: whatever a handler throws is caught where the view calls into the
// window's logic, and its text is shown in a modal message box; the program goes on with its
// state as the handler left it.
#pragma once

#include <QString>

#include <functional>
#include <string_view>

class QWidget;

namespace tarvik {

// Runs call; a thrown exception's text goes to report, an empty one for an exception that
// brings none (the receiver shows the general text in the current language).
void runGuarded(const std::function<void()>& call,
                const std::function<void(std::string_view)>& report);

// The modal message box of the general error handler (title "Tarvik", one OK button).
void showErrorMessage(QWidget* parent, std::string_view text);

} // namespace tarvik
