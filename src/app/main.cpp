#include "app/Unit1.h"
#include "framework/Fonts.h"
#include "framework/MessageBoxes.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pigmora"));
    InstallFontSubstitutions();

    TQtMessageSink messages(QStringLiteral("Pigmora"));
    TForm1Env env;
    env.Messages = &messages;
    TForm1 form(env);
    form.show();
    return app.exec();
}
