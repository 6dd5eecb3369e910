// Reference for the start-up benchmark: a bare Qt 6 window with one label.
#include <QApplication>
#include <QLabel>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Reference"));
    label.setWindowTitle(QStringLiteral("Bare"));
    label.resize(390, 357);
    label.show();
    return app.exec();
}
