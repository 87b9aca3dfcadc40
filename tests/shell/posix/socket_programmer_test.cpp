// The window with the virtual programmer served on a UNIX-domain socket by another thread.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <thread>

#include "emulator/virtual_programmer.h"
#include "link/posix/socket_server.h"
#include "shell_fixtures.h"

using namespace tarvik;

TEST(MainWindow, FindsAVirtualProgrammerServedOnASocket) {
    TempSettings store;
    QTemporaryDir dir;
    emulator::VirtualProgrammer programmer("ATmega8");
    const std::string path = (dir.path() + "/programmer.sock").toStdString();
    SocketServer server(path, programmer);
    std::thread serving([&] { server.run(); });

    ProgramOptions options;
    options.programmer = ProgramOptions::Programmer::Socket;
    options.socketPath = path;
    {
        DesktopSession session(options, nullptr, Latency::None);
        MainWindow& window = session.window();
        ASSERT_TRUE(runUntil([&] { return window.form().ProgrammerDevice != nullptr; }));
        window.action("nAVRISP")->trigger();
        window.button("bDetectDevice")->click();
        ASSERT_TRUE(runUntil([&] { return logHas(window, "Successfully finished."); }));
        EXPECT_EQ(window.AutoDevice->text(), "ATmega8");
    }
    server.stop();
    serving.join();
}
