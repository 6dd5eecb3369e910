#include "app/Desktop.h"
#include "app/SessionEnd.h"
#include "app/Unit1.h"
#include "framework/FontPreload.h"
#include "framework/Fonts.h"
#include "framework/MessageBoxes.h"
#include "framework/SettingsPath.h"

#include <QApplication>
#include <QLocale>
#include <QTranslator>

int main(int argc, char **argv)
{
    const QByteArray platform = PlatformFor(CurrentSessionEnv());
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
    TFontPreload fontPreload;
    QApplication app(argc, argv);
    InstallFontSubstitutions();
    // The window's fields lay out first in the application's font, then in the window's.
    fontPreload.ApplicationReady({QGuiApplication::font(), DefaultWindowFont()});
    QApplication::setApplicationName(QStringLiteral("Pigmora"));
    QApplication::setDesktopFileName(QStringLiteral("pigmora"));
    SetProgramIcon(app);
    QTranslator qtTranslations;
    InstallQtTranslations(app, qtTranslations, QLocale::system());

    TQtMessageSink messages(QStringLiteral("Pigmora"));
    TForm1Env env;
    env.Messages = &messages;
    const TSettingsFiles settings = SettingsFilesFor(QApplication::applicationFilePath(), UserConfigDir());
    env.IniFileName = settings.Read;
    env.IniStoreFileName = settings.Write;
    TForm1 form(env);
    messages.SetWindow(&form);
    fontPreload.Finish();
    // The end of the session closes the window as "Exit" does, then ends any dialog still open.
    TSessionEnd sessionEnd([&form] {
        if (form.isVisible())
            form.close();
        QApplication::quit();
    });
    form.show();
    return app.exec();
}
