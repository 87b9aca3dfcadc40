// The Dispatcher of the desktop program: tasks posted from any thread run on the GUI thread's
// event loop, one at a time, in posting order. A task that throws doesn't unwind into Qt: its
// text goes to the error handler, and the loop goes on.
#pragma once

#include <QObject>

#include <functional>
#include <string_view>

#include "link/dispatcher.h"

namespace tarvik {

class QtDispatcher : public QObject, public Dispatcher {
    Q_OBJECT
public:
    explicit QtDispatcher(QObject* parent = nullptr);
    void post(std::function<void()> task) override;
    void postAfter(std::chrono::milliseconds delay, std::function<void()> task) override;

    // Where a failing task's text goes (the program's general error handler).
    std::function<void(std::string_view)> onError;

private:
    void runTask(const std::function<void()>& task);
};

} // namespace tarvik
