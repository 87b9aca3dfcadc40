// SIGTERM and SIGINT close the main window the normal way, so its close handler runs and the
// settings are stored: the signal handler only writes a byte to a pipe that the event loop
// watches.
#pragma once

class QWidget;

namespace tarvik {

// Installs the handlers; each signal then closes window on the event loop. Call once.
void closeOnTerminationSignals(QWidget& window);

} // namespace tarvik
