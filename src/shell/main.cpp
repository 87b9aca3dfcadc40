// tarvik: the desktop client of the USB chip programmer.
#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

#include "common/user_error.h"
#include "emulator/virtual_chip.h"
#include "shell/desktop_session.h"
#include "shell/interface_font.h"
#include "shell/main_window.h"
#include "shell/program_modes.h"
#include "shell/termination_signals.h"

using namespace tarvik;

int main(int argc, char** argv) {
    // The command line first, so --help and mistakes are answered without a display.
    // Its texts are in the language the settings ask for, as the window's would be.
    const ParsedOptions parsed =
        parseProgramOptions(std::vector<std::string>(argv + 1, argv + argc));
    const auto language = [] { return storedLanguageCode(*desktopSettings()); };
    if (!parsed.options) {
        const std::uint8_t code = language();
        const std::string usage(programUsage(code));
        std::fprintf(stderr, "tarvik: %s\n\n%s", std::string(pick(parsed.error, code)).c_str(),
                     usage.c_str());
        return 2;
    }
    ProgramOptions options = *parsed.options;
    if (options.help) {
        std::printf("%s", std::string(programUsage(language())).c_str());
        return 0;
    }
    if (options.programmer == ProgramOptions::Programmer::Emulated &&
        !emulator::findVirtualChip(options.chip)) {
        std::fprintf(stderr, "tarvik: %s\n",
                     unknownVirtualChipText(options.chip, language()).c_str());
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvik"));
    QApplication::setDesktopFileName(QStringLiteral("tarvik"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tarvik")));
    applyInterfaceFont();

    const bool screenshots = !options.screenshotDir.empty();
    if (screenshots)
        options.programmer = ProgramOptions::Programmer::Emulated;
    std::unique_ptr<DesktopSession> session;
    try {
        // Screenshots leave the user's settings alone.
        session = std::make_unique<DesktopSession>(
            options, screenshots ? std::make_unique<MemorySettings>() : nullptr,
            screenshots ? Latency::None : Latency::UsbFullSpeed);
    } catch (const UserError& error) {
        std::fprintf(stderr, "tarvik: %s\n", error.what());
        QMessageBox::critical(nullptr, QStringLiteral("Tarvik"), QString::fromUtf8(error.what()));
        return 1;
    }
    if (screenshots)
        return renderScreenshots(*session, QString::fromStdString(options.screenshotDir));

    MainWindow& window = session->window();
    closeOnTerminationSignals(window);
    const QString file = QString::fromStdString(options.file);
    if (options.benchmarkStartup) {
        benchmarkStartup(*session, file);
    } else if (!file.isEmpty()) {
        QTimer::singleShot(0, &window, [&window, file] { window.openFile(file); });
    }
    window.show();
    return app.exec();
}
