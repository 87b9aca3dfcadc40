// closeOnTerminationSignals on Windows: there are no signals to catch for a windowed program,
// but the end of the user's session asks every program to save its data first; the window then
// closes without its question, so its close handler still stores the settings.
#include "shell/termination_signals.h"

#include <QGuiApplication>
#include <QSessionManager>

#include "shell/main_window.h"

namespace tarvik {

void closeOnTerminationSignals(MainWindow& window) {
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager&) { window.closeWithoutAsking(); });
}

} // namespace tarvik
