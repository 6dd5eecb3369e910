#pragma once

#include "picker/ColPickForm.h"

#include <memory>

// A picker window opened the way the dialog component opens it (the first 16 cells filled, the
// colour and mode handed in), shown without a modal loop, with its first field render done. A
// display ratio of 0 takes the window's own.
inline std::unique_ptr<TColorPickerForm> OpenAt(TColor colour, TColorSwitch mode, qreal displayRatio = 0)
{
    auto form = std::make_unique<TColorPickerForm>(
        nullptr, [displayRatio] { return TDisplayFormat{32, QImage::Format_RGB32, displayRatio}; });
    for (int i = 0; i < 16; ++i)
        form->SetPaletteColor(i, RGB(i * 16, 255 - i * 16, (i * 40) & 255));
    form->SetColorSwitch(mode);
    form->SetColor(colour);
    form->PreparePicker();
    form->show();
    form->ColListPaintTimerTimer();
    return form;
}
