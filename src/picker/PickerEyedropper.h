#pragma once

#include "framework/Colors.h"

#include <functional>

class QToolButton;
class QWidget;
class TColorPickerForm;

// Starts a pick from the screen over a window; `taken` runs with the colour if one was taken.
using TScreenPickStarter = std::function<void(QWidget *window, std::function<void(TColor)> taken)>;

// Adds the small "Pick from screen" button beside the picker window's preview, in the free space
// between the preview's frame and the OK button.
QToolButton *AddScreenPickButton(TColorPickerForm &form, TScreenPickStarter pick);

// A colour taken from the screen becomes the selected cell's colour, and every control follows.
void TakeScreenColor(TColorPickerForm &form, TColor color);
