// SIGTERM and SIGINT close the window the normal way, without the question a running job
// asks: its close handler stores the settings.
#include <gtest/gtest.h>

#include <QAction>

#include <csignal>

#include "shell/termination_signals.h"
#include "shell_fixtures.h"

using namespace tarvik;

TEST(Startup, TerminationSignalClosesTheWindowTheNormalWay) {
    TempSettings store;
    auto session = emulatedSession();
    MainWindow& window = session->window();
    closeOnTerminationSignals(window);
    window.show();
    window.action("nAVRISP")->trigger();
    std::raise(SIGTERM);
    EXPECT_TRUE(runUntil([&] { return !window.isVisible(); }));
    EXPECT_EQ(store.values()["Last Device"], "19");
}

TEST(JobExit, TerminationSignalDuringAJobClosesWithoutAsking) {
    TempSettings store;
    auto session = emulatedSession("ATmega8");
    MainWindow& window = session->window();
    closeOnTerminationSignals(window);
    window.show();
    startStalledJob(*session);
    std::raise(SIGINT);
    EXPECT_TRUE(runUntil([&] { return !window.isVisible(); }));
    EXPECT_FALSE(window.form().JobRunning());
    EXPECT_EQ(store.values()["Last Device"], "19");
}
