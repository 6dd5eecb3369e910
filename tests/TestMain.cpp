#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char **argv)
{
    // Widget tests never need a real display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pigmora"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
