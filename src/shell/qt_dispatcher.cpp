// QtDispatcher: posts each task as a queued call to an object living on the GUI thread.
#include "shell/qt_dispatcher.h"

#include <QMetaObject>
#include <QTimer>

#include "shell/error_handler.h"

namespace tarvik {

QtDispatcher::QtDispatcher(QObject* parent) : QObject(parent) {}

void QtDispatcher::post(std::function<void()> task) {
    // Queued calls to one receiver are delivered in the order they were posted. If the
    // dispatcher is gone by then, Qt drops the call.
    QMetaObject::invokeMethod(
        this, [this, task = std::move(task)] { runTask(task); }, Qt::QueuedConnection);
}

void QtDispatcher::postAfter(std::chrono::milliseconds delay, std::function<void()> task) {
    QTimer::singleShot(delay, this, [this, task = std::move(task)] { runTask(task); });
}

void QtDispatcher::runTask(const std::function<void()>& task) {
    runGuarded(task, [this](std::string_view text) {
        if (onError)
            onError(text);
    });
}

} // namespace tarvik
