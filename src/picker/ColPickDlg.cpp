#include "picker/ColPickDlg.h"

#include "picker/ColPickForm.h"

namespace {

// A theme colour becomes its current RGB value; every other value passes unchanged.
TColor Resolved(TColor c)
{
    return (static_cast<std::uint32_t>(c) & 0x80000000u) ? ColorToRGB(c) : c;
}

// The colour a value shows as in the window, which holds plain RGB values only: a theme colour
// resolved, the high byte of any other value dropped. A value is taken back from the window only
// when this differs, so $01BBGGRR or a theme colour that the user left alone stays as it was.
TColor Shown(TColor c)
{
    return ColorToRGB(Resolved(c));
}

} // namespace

TColorPickerDialog::TColorPickerDialog(TComponent *owner) : TComponent(owner)
{
    static const bool registered = (RegisterClass(), true);
    Q_UNUSED(registered);
    FPalette.fill(0);
    FColor = 0;
    FTitle = QStringLiteral("Color Picker");
    FColorSwitch = csHue;
}

void TColorPickerDialog::RegisterClass()
{
    RegisterComponentClass(QStringLiteral("TColorPickerDialog"),
                           [](TComponent *owner) { return new TColorPickerDialog(owner); });
}

TColor TColorPickerDialog::GetTemporaryPalette(int index) const
{
    if (index < 0 || index >= TemporaryPaletteCount)
        return 0;
    return FPalette[static_cast<std::size_t>(index)];
}

void TColorPickerDialog::SetTemporaryPalette(int index, TColor value)
{
    if (index < 0 || index >= TemporaryPaletteCount)
        return;
    FPalette[static_cast<std::size_t>(index)] = value;
}

const TPropList &TColorPickerDialog::Properties() const
{
    static const TPropList props = [] {
        TPropList p = BaseProperties();

        TPropInfo colorSwitch;
        colorSwitch.Name = QStringLiteral("ColorSwitch");
        colorSwitch.Kind = TPropKind::Enum;
        colorSwitch.Default = csHue;
        colorSwitch.Idents = {"csHue", "csSaturation", "csBrightness", "csBlue", "csGreen", "csRed"};
        colorSwitch.GetOrd = [](const TComponent &c) {
            return static_cast<std::int64_t>(static_cast<const TColorPickerDialog &>(c).ColorSwitch());
        };
        colorSwitch.SetOrd = [](TComponent &c, std::int64_t v) {
            static_cast<TColorPickerDialog &>(c).SetColorSwitch(static_cast<TColorSwitch>(v));
        };
        AddProperty(p, colorSwitch);

        TPropInfo color;
        color.Name = QStringLiteral("Color");
        color.Kind = TPropKind::Color;
        color.Default = 0;
        color.GetOrd = [](const TComponent &c) {
            return static_cast<std::int64_t>(static_cast<const TColorPickerDialog &>(c).Color());
        };
        color.SetOrd = [](TComponent &c, std::int64_t v) {
            static_cast<TColorPickerDialog &>(c).SetColor(static_cast<TColor>(v));
        };
        AddProperty(p, color);

        TPropInfo title;
        title.Name = QStringLiteral("Title");
        title.Kind = TPropKind::String;
        title.GetText = [](const TComponent &c) { return static_cast<const TColorPickerDialog &>(c).Title(); };
        title.SetText = [](TComponent &c, const QString &v) { static_cast<TColorPickerDialog &>(c).SetTitle(v); };
        AddProperty(p, title);
        return p;
    }();
    return props;
}

bool TColorPickerDialog::Execute()
{
    auto *form = new TColorPickerForm();
    for (int i = 0; i < TemporaryPaletteCount; ++i)
        form->SetPaletteColor(i, Resolved(GetTemporaryPalette(i)));
    form->setWindowTitle(FTitle);
    form->SetColorSwitch(FColorSwitch);
    form->SetColor(Resolved(FColor));
    if (ScreenPick)
        AddScreenPickButton(*form, ScreenPick);

    const bool ok = Runner ? Runner(*form) : form->ShowPicker();
    if (ok) {
        // Only what the user changed is taken back, so an untouched theme colour stays one.
        for (int i = 0; i < TemporaryPaletteCount; ++i)
            if (Shown(GetTemporaryPalette(i)) != form->PaletteColor(i))
                SetTemporaryPalette(i, form->PaletteColor(i));
        if (Shown(FColor) != form->Color())
            FColor = form->Color();
        FColorSwitch = form->GetColorSwitch();
    }
    // Released once control is back in the event loop, never inside its own modal loop.
    form->deleteLater();
    return ok;
}
