// The shell tests' entry point: an offscreen QApplication with the program's interface font.
#include <QApplication>

#include <gtest/gtest.h>

#include "shell/interface_font.h"

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvik"));
    tarvik::applyInterfaceFont();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
