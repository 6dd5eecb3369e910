#pragma once

#include "framework/Colors.h"
#include "framework/Component.h"

#include <QStringList>

#include <functional>

enum TColorDialogOption { cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor };
// Set of TColorDialogOption, bit n for member n.
using TColorDialogOptions = unsigned;
constexpr TColorDialogOptions OptionBit(TColorDialogOption o) { return 1u << o; }

// The platform colour dialog as a component: Qt's own QColorDialog (never the native one, so it
// behaves the same on every desktop).
class TColorDialog : public TComponent {
public:
    // Runs the dialog modally for this component; true when the user pressed OK. Tests replace it.
    using TRunner = std::function<bool(TColorDialog &)>;

    explicit TColorDialog(TComponent *owner = nullptr);
    QString ClassName() const override { return QStringLiteral("TColorDialog"); }

    TColor Color = 0;
    TColorDialogOptions Options = 0;
    // Construction agrees with the declared default (false), so a stored false reads back false.
    bool Ctl3D = false;
    int HelpContext = 0;
    // Lines "ColorA=RRGGBB" to "ColorP=…" (hex of the $BBGGRR value), one per custom colour.
    QStringList CustomColors;
    // Run just before the dialog opens and just after it closes.
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

    const TPropList &Properties() const override;
    // Makes the class creatable from stored component images.
    static void RegisterClass();

    TRunner Runner;
    bool Execute();

    // The Qt dialog's run: custom colours in, colour in, modal loop, colour and custom colours out.
    static bool RunQtDialog(TColorDialog &dialog);
};

// Custom colour n (0-15) of a "ColorX=hex" list; -1 when the list does not name it.
TColor CustomColorAt(const QStringList &customColors, int index);
// Sets entry n of the list, adding the line when it is missing.
void SetCustomColorAt(QStringList &customColors, int index, TColor color);
