#pragma once

#include "framework/Colors.h"
#include "framework/Component.h"
#include "picker/ColorSwitch.h"
#include "picker/PickerEyedropper.h"

#include <array>
#include <functional>

class TColorPickerForm;

// Number of cells in the picker's palette: 4 rows of 7.
constexpr int TemporaryPaletteCount = 28;

// The non-visual component that keeps the picker's state between openings: the colour handed
// in and back, the window caption, the mode last used and the 28 palette slots.
class TColorPickerDialog : public TComponent {
public:
    explicit TColorPickerDialog(TComponent *owner = nullptr);
    QString ClassName() const override { return QStringLiteral("TColorPickerDialog"); }

    const QString &Title() const { return FTitle; }
    void SetTitle(const QString &title) { FTitle = title; }
    TColor Color() const { return FColor; }
    void SetColor(TColor color) { FColor = color; }
    TColorSwitch ColorSwitch() const { return FColorSwitch; }
    void SetColorSwitch(TColorSwitch mode) { FColorSwitch = mode; }

    // Slot Index of the palette; 0 for an index outside 0..27.
    TColor GetTemporaryPalette(int index) const;
    // Stores Value in slot Index; an index outside 0..27 is ignored.
    void SetTemporaryPalette(int index, TColor value);

    const TPropList &Properties() const override;
    // Makes the class creatable from stored component images.
    static void RegisterClass();

    // Runs the picker window, filled from this component, modally; true when it was closed with
    // OK. Only then are the changed palette slots, the colour and the mode taken back.
    bool Execute();

    // How the prepared window is run: ShowPicker() by default; tests answer it without a modal loop.
    using TRunner = std::function<bool(TColorPickerForm &)>;
    TRunner Runner;
    // Takes a colour from the screen for the window's "Pick from screen" button; empty: no button.
    TScreenPickStarter ScreenPick;

private:
    QString FTitle;
    TColor FColor = 0;
    TColorSwitch FColorSwitch = csHue;
    std::array<TColor, TemporaryPaletteCount> FPalette{};
};
