#include "app/WindowCommands.h"

#include "app/Unit1.h"

const std::vector<TWindowCommand> &MainWindowCommands()
{
    static const std::vector<TWindowCommand> commands = [] {
        const auto key = [](QKeyCombination k) { return QKeySequence(k); };
        const auto ctrlShift = Qt::CTRL | Qt::SHIFT;
        return std::vector<TWindowCommand>{
            {QStringLiteral("Copy rgb (POV-Ray)"), key(ctrlShift | Qt::Key_C), &TForm1::RGBButtonClick},
            {QStringLiteral("Copy rgbf (with filter)"), key(ctrlShift | Qt::Key_F), &TForm1::RGBFButtonClick},
            {QStringLiteral("Copy rgbt (with transmit)"), key(ctrlShift | Qt::Key_T), &TForm1::RGBTButtonClick},
            {QStringLiteral("Copy Delphi constant"), key(ctrlShift | Qt::Key_D), &TForm1::DelphiButtonClick},
            {QStringLiteral("Copy HTML"), key(ctrlShift | Qt::Key_H), &TForm1::HtmlButtonClick},
            {QStringLiteral("Restore from rgb"), key(Qt::ALT | Qt::Key_R), &TForm1::RestoreButtonClick},
            {QStringLiteral("Restore from Delphi constant (BGR)"), key(Qt::ALT | Qt::Key_D), &TForm1::Re_DeButtonClick},
            {QStringLiteral("Restore from HTML (RGB)"), key(Qt::ALT | Qt::Key_H), &TForm1::Re_HtButtonClick},
            {QStringLiteral("Restore from 0-100%"), key(Qt::ALT | Qt::Key_P), &TForm1::Re_PerButtonClick},
            {QStringLiteral("Restore from 0-255"), key(Qt::ALT | Qt::Key_B), &TForm1::Re_RgbButtonClick},
            {QStringLiteral("Open(windows) colour dialog"), key(Qt::CTRL | Qt::Key_O), &TForm1::OpenButtonClick},
            {QStringLiteral("(Photoshop) colour picker"), key(ctrlShift | Qt::Key_P), &TForm1::PhotoButtonClick},
            {QStringLiteral("Pick from screen"), key(ctrlShift | Qt::Key_E), &TForm1::ScreenPickClick},
            {QStringLiteral("Random colour (ra1)"), key(Qt::CTRL | Qt::Key_1), &TForm1::RandomButton1Click},
            {QStringLiteral("Quiet random colour (ra2)"), key(Qt::CTRL | Qt::Key_2), &TForm1::RandomButton2Click},
            {QStringLiteral("Show again (repre)"), key(QKeyCombination(Qt::Key_F5)), &TForm1::RepreButtonClick},
            {QStringLiteral("Clear the fields"), key(ctrlShift | Qt::Key_L), &TForm1::ClearButtonClick},
            {QStringLiteral("Japanese to escapes (J to Hex)"), key(ctrlShift | Qt::Key_J), &TForm1::KanjiButtonClick},
            {QStringLiteral("Escapes to Japanese"), key(Qt::ALT | Qt::Key_J), &TForm1::UniCodeButtonClick},
            {QStringLiteral("About"), key(QKeyCombination(Qt::Key_F1)), &TForm1::AboutButtonClick},
            {QStringLiteral("Exit"), key(Qt::CTRL | Qt::Key_Q), &TForm1::ExitButtonClick},
        };
    }();
    return commands;
}
