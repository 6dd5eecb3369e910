#pragma once

#include <QKeySequence>
#include <QString>

#include <vector>

class TForm1;

// One command of the main window as the keyboard reaches it: the menu entry's text, its
// shortcut, and the handler that the command's button runs on a click.
struct TWindowCommand {
    QString Text;
    QKeySequence Shortcut;
    void (TForm1::*Handler)();
};

// Every command of the main window's buttons and the eyedropper, in menu order. Copying takes
// Ctrl+Shift, reading a field back takes Alt, so no shortcut takes a key the edits use.
const std::vector<TWindowCommand> &MainWindowCommands();
