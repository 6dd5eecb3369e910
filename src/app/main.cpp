#include "app/Unit1.h"
#include "framework/Fonts.h"
#include "framework/MessageBoxes.h"
#include "framework/SettingsPath.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pigmora"));
    QApplication::setDesktopFileName(QStringLiteral("pigmora"));
    InstallFontSubstitutions();

    TQtMessageSink messages(QStringLiteral("Pigmora"));
    TForm1Env env;
    env.Messages = &messages;
    env.IniFileName = SettingsFileFor(QApplication::applicationFilePath(), UserConfigDir());
    TForm1 form(env);
    form.show();
    return app.exec();
}
