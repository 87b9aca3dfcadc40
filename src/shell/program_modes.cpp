// Screenshots (the main window, its questions, the info window) and the start-up
// measurement.
#include "shell/program_modes.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPixmap>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "buffer/intel_hex.h"
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

// Saves the next modal message box to the file once it shows, then closes it with Esc (its
// default answer). Clears ok when the box could not be saved.
void grabNextBox(const QString& file, bool& ok) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, file, &ok] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        timer->stop();
        timer->deleteLater();
        if (!box->grab().save(file))
            ok = false;
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(box, &escape);
    });
    timer->start(20);
}

// The questions about unsaved edits (before a job's reload, before closing) and the message
// for a file Tarvik does not read, in the current language, each saved as NAME-LANG.png.
bool renderQuestions(MainWindow& window, const QString& dir, const QString& language) {
    TMainForm& form = window.form();
    const QString hex = dir + "/sample.hex";
    const QString text = dir + "/notes.txt";
    QFile hexFile(hex);
    QFile textFile(text);
    if (!hexFile.open(QIODevice::WriteOnly) || !textFile.open(QIODevice::WriteOnly))
        return false;
    hexFile.write(QByteArray::fromStdString(writeIntelHex(form.Hexeditor.bytes())));
    textFile.write("hello");
    hexFile.close();
    textFile.close();

    bool ok = true;
    const std::vector<std::uint8_t> before = form.Hexeditor.bytes();
    window.call([&] {
        form.OpenDialog1.fileName = hex.toStdString();
        form.updatebuffer.checked = true;
        form.Hexeditor.setReadOnlyView(false);
        const std::uint8_t edit[] = {0x55};
        form.Hexeditor.overwrite(0, edit);
    });
    grabNextBox(dir + "/question-reload-" + language + ".png", ok);
    window.call(&TMainForm::bProgClick);
    grabNextBox(dir + "/question-close-" + language + ".png", ok);
    window.close();
    grabNextBox(dir + "/message-unknown-file-" + language + ".png", ok);
    window.openFile(text);
    window.call([&] {
        form.Hexeditor.SetAllBytes(before);
        form.Hexeditor.setReadOnlyView(true);
    });
    QFile::remove(hex);
    QFile::remove(text);
    return ok;
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
    for (const Shot& shot :
         {Shot{&TMainForm::sDeutschClick, "de"}, Shot{&TMainForm::sEnglishClick, "en"},
          Shot{&TMainForm::sFranceClick, "ru"}}) {
        window.call(shot.language);
        window.renderNow();
        QApplication::processEvents();
        if (!window.grab().save(dir + "/main-" + shot.name + ".png") ||
            !renderQuestions(window, dir, shot.name))
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
