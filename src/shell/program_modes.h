// The program's two non-interactive modes: rendering the windows to PNG files for review, and
// measuring the start-up.
#pragma once

#include <QString>

namespace tarvik {

class DesktopSession;

// Renders the main window in German, English and Russian after a chip identification, and the
// info window, to DIR/main-de.png, main-en.png, main-ru.png and info.png. Returns the exit code.
int renderScreenshots(DesktopSession& session, const QString& dir);

// When the main window is first shown, prints the milliseconds since the process started;
// then opens file (if any), prints the resident memory and ends the event loop.
void benchmarkStartup(DesktopSession& session, const QString& file);

} // namespace tarvik
