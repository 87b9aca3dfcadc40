// The window's pace: a 128 KiB write + verify of an ATmega128 driven through the real Qt main
// window (offscreen), once against the in-process virtual programmer at USB full-speed frame
// pace and once against "tarvik-cli serve-emulator --latency usb" over a socket, each as a ratio
// to the time the frames alone take (one 1 ms frame per report each way). tarvik-cli's figure
// for the same job over the same socket is printed beside them.
// Usage: window_job_bench PATH/TO/tarvik-cli
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "counting_device.h"
#include "emulator/virtual_programmer.h"
#include "form/settings_store.h"
#include "link/emulated_backend.h"
#include "shell/desktop_session.h"
#include "shell/main_window.h"

namespace {

using namespace tarvik;

constexpr std::size_t kImageSize = 131072;

std::vector<std::uint8_t> image() {
    std::vector<std::uint8_t> bytes(kImageSize);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 13 + (i >> 9));
    return bytes;
}

bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// Runs the write + verify in the session's window; the wall time in ms, negative on failure.
double windowJobMs(DesktopSession& session) {
    MainWindow& window = session.window();
    TMainForm& form = window.form();
    if (!waitFor([&form] { return form.ProgrammerDevice != nullptr; }, 10000))
        return -1;
    window.action("nAVRISP")->trigger(); // the ATmega128 is found by its signature
    form.updatebuffer.checked = false;
    form.nverifynachprogrammieren.checked = true;
    form.Hexeditor.SetAllBytes(image());
    window.renderNow();
    QElapsedTimer timer;
    timer.start();
    window.button("bProg")->click();
    if (!waitFor([&form] { return form.ProtocolState == stIdle && !form.JobRunning(); }, 120000))
        return -1;
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    const auto& lines = form.Verlauf.lines;
    return lines.size() >= 2 && lines[lines.size() - 2] == "Successfully finished." ? ms : -1;
}

void print(const char* what, double ms, double framesMs) {
    if (ms < 0)
        std::printf("%-40s failed\n", what);
    else
        std::printf("%-40s %8.0f ms, ratio %.3f (target <= 1.05)\n", what, ms, ms / framesMs);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: window_job_bench PATH/TO/tarvik-cli\n");
        return 2;
    }
    const QString cli = QString::fromLocal8Bit(argv[1]);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);

    // In process: the virtual programmer behind a counting wrapper at USB frame pace.
    double framesMs = 0;
    double emulateMs = -1;
    {
        ProgramOptions options;
        options.programmer = ProgramOptions::Programmer::Emulated;
        options.chip = "ATmega128";
        DesktopSession session(options, std::make_unique<MemorySettings>());
        session.emulatedBus()->unplug(*session.programmerPlug);
        waitFor([&session] { return session.window().form().ProgrammerDevice == nullptr; }, 2000);
        auto counting = std::make_shared<CountingDevice>(session.programmer);
        session.programmerPlug = session.emulatedBus()->plug(counting, Latency::UsbFullSpeed);
        emulateMs = windowJobMs(session);
        framesMs = double(counting->out + counting->in);
        std::printf("128 KiB write + verify, ATmega128: %zu reports out, %zu in: frames alone "
                    "%.0f ms\n",
                    counting->out, counting->in, framesMs);
    }
    print("window, in-process --emulate:", emulateMs, framesMs);

    // Over a socket: the same job against serve-emulator's frame pace.
    const QString socket = home.path() + "/prog.sock";
    QProcess server;
    server.start(cli,
                 {"serve-emulator", "--socket", socket, "--chip", "ATmega128", "--latency", "usb"});
    if (!server.waitForStarted() || !waitFor([&] { return QFile::exists(socket); }, 5000)) {
        std::fprintf(stderr, "serve-emulator did not start\n");
        return 1;
    }
    double socketMs = -1;
    {
        ProgramOptions options;
        options.programmer = ProgramOptions::Programmer::Socket;
        options.socketPath = socket.toStdString();
        DesktopSession session(options, std::make_unique<MemorySettings>());
        socketMs = windowJobMs(session);
    }
    print("window, serve-emulator socket:", socketMs, framesMs);

    // tarvik-cli, the same job over the same socket.
    const QString file = home.path() + "/image.bin";
    {
        QFile out(file);
        const std::vector<std::uint8_t> bytes = image();
        out.open(QIODevice::WriteOnly);
        out.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    }
    QProcess job;
    QElapsedTimer timer;
    timer.start();
    job.start(cli, {"--programmer", "socket:" + socket, "--device", "avr-isp", "write", file});
    const bool finished = job.waitForFinished(120000) && job.exitCode() == 0;
    if (!finished)
        std::fprintf(stderr, "%s", job.readAllStandardError().constData());
    print("tarvik-cli, serve-emulator socket:", finished ? double(timer.nsecsElapsed()) / 1e6 : -1,
          framesMs);
    server.terminate();
    server.waitForFinished(5000);
    return 0;
}
