// SIGTERM and SIGINT close the main window the normal way, without the question a running job
// asks, so a job is abandoned, its close handler runs and the settings are stored: the signal
// handler only writes a byte to a pipe that the event loop watches.
#pragma once

namespace tarvik {

class MainWindow;

// Installs the handlers; each signal then closes window on the event loop. Call once.
void closeOnTerminationSignals(MainWindow& window);

} // namespace tarvik
