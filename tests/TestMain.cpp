#include "framework/Fonts.h"

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char **argv)
{
    // Widget tests never need a real display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pigmora"));
    // Tests draw with the program's faces, and a widget without a font of its own draws with a
    // named face rather than whatever the desktop's default happens to be.
    InstallFontSubstitutions();
    QApplication::setFont(MakeFont(QStringLiteral("Liberation Sans"), 12));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
