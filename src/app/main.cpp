#include "app/Unit1.h"
#include "framework/FontPreload.h"
#include "framework/Fonts.h"
#include "framework/MessageBoxes.h"
#include "framework/SettingsPath.h"

#include <QApplication>

int main(int argc, char **argv)
{
    TFontPreload fontPreload;
    QApplication app(argc, argv);
    fontPreload.ApplicationReady();
    QApplication::setApplicationName(QStringLiteral("Pigmora"));
    QApplication::setDesktopFileName(QStringLiteral("pigmora"));
    InstallFontSubstitutions();

    TQtMessageSink messages(QStringLiteral("Pigmora"));
    TForm1Env env;
    env.Messages = &messages;
    env.IniFileName = SettingsFileFor(QApplication::applicationFilePath(), UserConfigDir());
    TForm1 form(env);
    fontPreload.Finish();
    form.show();
    return app.exec();
}
