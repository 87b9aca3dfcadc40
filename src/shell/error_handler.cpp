// The general error handler's catching and its message box.
#include "shell/error_handler.h"

#include <QMessageBox>

#include <exception>

namespace tarvik {

void runGuarded(const std::function<void()>& call,
                const std::function<void(std::string_view)>& report) {
    try {
        call();
    } catch (const std::exception& error) {
        report(error.what());
    } catch (...) {
        report({});
    }
}

void showErrorMessage(QWidget* parent, std::string_view text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tarvik"),
                    QString::fromUtf8(text.data(), qsizetype(text.size())), QMessageBox::Ok,
                    parent);
    box.exec();
}

} // namespace tarvik
