// The shell tests' entry point: an offscreen QApplication with the program's interface font.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

#include "shell/interface_font.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvik"));
    tarvik::applyInterfaceFont();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
