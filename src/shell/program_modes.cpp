// Screenshots and the start-up measurement.
#include "shell/program_modes.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "shell/desktop_session.h"
#include "shell/info_form.h"
#include "shell/main_window.h"
#include "shell/process_figures.h"

namespace tarvik {

namespace {

// Runs the event loop until the model is idle again with its controls back, or 5 s passed.
void waitForJob(MainWindow& window) {
    QElapsedTimer timer;
    timer.start();
    do {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    } while (!window.form().bAuslesen.enabled && timer.elapsed() < 5000);
    window.renderNow();
}

// Milliseconds since the process started: from TARVIK_LAUNCH_NS (wall clock, nanoseconds since
// the epoch, set by the benchmark script just before the start) when given, else from the
// system's record of the process.
double millisecondsSinceStart() {
    if (const char* launch = std::getenv("TARVIK_LAUNCH_NS")) {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        const double nowNs = double(std::chrono::nanoseconds(now).count());
        return (nowNs - std::stod(launch)) / 1e6;
    }
    return millisecondsSinceProcessStart();
}

} // namespace

int renderScreenshots(DesktopSession& session, const QString& dir) {
    MainWindow& window = session.window();
    TMainForm& form = window.form();
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "tarvik: cannot create %s\n", qPrintable(dir));
        return 1;
    }
    window.show();
    std::vector<std::uint8_t> sample(512);
    for (std::size_t i = 0; i < sample.size(); ++i)
        sample[i] = std::uint8_t(i * 7 + (i >> 4));
    window.call([&] { form.Hexeditor.SetAllBytes(sample); });
    window.call(&TMainForm::nAVRISPClick);
    window.call(&TMainForm::bDetectDeviceClick);
    waitForJob(window);

    struct Shot {
        void (TMainForm::*language)();
        const char* name;
    };
    for (const Shot& shot : {Shot{&TMainForm::sDeutschClick, "main-de.png"},
                             Shot{&TMainForm::sEnglishClick, "main-en.png"},
                             Shot{&TMainForm::sFranceClick, "main-ru.png"}}) {
        window.call(shot.language);
        window.renderNow();
        QApplication::processEvents();
        if (!window.grab().save(dir + "/" + shot.name))
            return 1;
    }
    window.call(&TMainForm::nInfoClick);
    QApplication::processEvents();
    return session.infoForm().grab().save(dir + "/info.png") ? 0 : 1;
}

void benchmarkStartup(DesktopSession& session, const QString& file) {
    MainWindow& window = session.window();
    window.onFirstShown = [&window, file] {
        std::printf("startup_ms=%.1f\n", millisecondsSinceStart());
        QMetaObject::invokeMethod(
            &window,
            [&window, file] {
                if (!file.isEmpty())
                    window.openFile(file);
                QApplication::processEvents();
                std::printf("buffer_bytes=%d\nrss_kib=%ld\n", window.form().Hexeditor.ByteCount(),
                            residentKiB());
                std::fflush(stdout);
                QApplication::exit(0);
            },
            Qt::QueuedConnection);
    };
}

} // namespace tarvik
