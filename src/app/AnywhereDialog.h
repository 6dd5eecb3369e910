#pragma once

#include "app/PickAnywhere.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QKeySequenceEdit;
class QLabel;

// "Desktop-wide key": the key that picks from the screen while the window is hidden, the
// notation its colour is copied in, and whether an icon stays in the tray. Every control is
// reached with Tab and named for screen readers; OK applies, Escape leaves all as it was.
class TAnywhereDialog : public QDialog {
    Q_OBJECT
public:
    TAnywhereDialog(const TAnywhereSettings &settings, QWidget *parent = nullptr);

    TAnywhereSettings Settings() const;
    // What the key's binding says now (bound where, or why not).
    void ShowKeyState(const QString &text);

    QCheckBox *KeyOnBox;
    QKeySequenceEdit *KeyEdit;
    QComboBox *NotationBox;
    QCheckBox *TrayBox;
    QLabel *StateLabel;

private:
    void EnableKey();
    TAnywhereSettings FSettings;
};
