// The system's requests to end the program close the main window the normal way, without the
// question a running job asks, so a job is abandoned, its close handler runs and the settings
// are stored. On POSIX systems these are SIGTERM and SIGINT (the handler only writes a byte to a
// pipe that the event loop watches); on Windows, the end of the user's session.
#pragma once

namespace tarvik {

class MainWindow;

// Installs the handlers; each request then closes window on the event loop. Call once.
void closeOnTerminationSignals(MainWindow& window);

} // namespace tarvik
