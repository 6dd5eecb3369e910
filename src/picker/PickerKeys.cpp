// The picker window without a mouse: arrow keys move the field's marker, the strip's value and
// the palette's cursor, and each key acts exactly as a click at the position it moves to.
#include "picker/ColPickForm.h"

#include <QKeyEvent>

#include <algorithm>

namespace {

// Rows one page key moves the strip by.
constexpr int StripPage = 16;

} // namespace

QPoint TColorPickerForm::CellCentre(int index)
{
    return {(index % PaletteColumns) * PaletteCellStep + PaletteCellSize / 2,
            (index / PaletteColumns) * PaletteCellStep + PaletteCellSize / 2};
}

bool TColorPickerForm::ColorListPaintBoxKeyDown(QKeyEvent *event)
{
    const int step = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    int dx = 0;
    int dy = 0;
    switch (event->key()) {
    case Qt::Key_Left: dx = -step; break;
    case Qt::Key_Right: dx = step; break;
    case Qt::Key_Up: dy = -step; break;
    case Qt::Key_Down: dy = step; break;
    default: return false;
    }
    const int w = ColorListPaintBox->width();
    const int h = ColorListPaintBox->height();
    const QPoint marker = MarkerPos();
    const int x = marker.x();
    const int y = marker.y();
    const int nx = std::clamp(x + dx, 0, w - 1);
    const int ny = std::clamp(y + dy, 0, h - 1);
    if (nx != x || ny != y) {
        ColorListPaintBoxMouseDown(Qt::LeftButton, nx, ny);
        NotifyPickerBoxChanged(ColorListPaintBox);
    }
    return true;
}

bool TColorPickerForm::GradPaintBoxKeyDown(QKeyEvent *event)
{
    const int h = GradPaintBox->height();
    const int row = StripClickRow(GetColorSwitch(), Values(), h);
    int target = row;
    switch (event->key()) {
    case Qt::Key_Up: target = row - 1; break;
    case Qt::Key_Down: target = row + 1; break;
    case Qt::Key_PageUp: target = row - StripPage; break;
    case Qt::Key_PageDown: target = row + StripPage; break;
    case Qt::Key_Home: target = 0; break;
    case Qt::Key_End: target = h - 1; break;
    default: return false;
    }
    target = std::clamp(target, 0, h - 1);
    if (target != row) {
        GradPaintBoxMouseDown(Qt::LeftButton, 0, target);
        NotifyPickerBoxChanged(GradPaintBox);
    }
    return true;
}

bool TColorPickerForm::ColCelPaintBoxKeyDown(QKeyEvent *event)
{
    const int rows = PaletteCellCount / PaletteColumns;
    int column = FPaletteCursor % PaletteColumns;
    int row = FPaletteCursor / PaletteColumns;
    switch (event->key()) {
    case Qt::Key_Left: column = std::max(column - 1, 0); break;
    case Qt::Key_Right: column = std::min(column + 1, PaletteColumns - 1); break;
    case Qt::Key_Up: row = std::max(row - 1, 0); break;
    case Qt::Key_Down: row = std::min(row + 1, rows - 1); break;
    case Qt::Key_Home: column = 0; break;
    case Qt::Key_End: column = PaletteColumns - 1; break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // Ctrl fills the cell with the current colour, as the right button does.
        const Qt::MouseButton button = event->modifiers() & Qt::ControlModifier ? Qt::RightButton : Qt::LeftButton;
        const QPoint at = CellCentre(FPaletteCursor);
        ColCelPaintBoxMouseDown(button, at.x(), at.y());
        return true;
    }
    default: return false;
    }
    FPaletteCursor = row * PaletteColumns + column;
    ColCelPaintBox->update();
    NotifyPickerBoxChanged(ColCelPaintBox);
    return true;
}
