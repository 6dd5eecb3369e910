#include "picker/PickerEyedropper.h"

#include "picker/ColPickForm.h"

#include <QPainter>
#include <QPointer>
#include <QShortcut>
#include <QToolButton>

namespace {

// A crosshair over a pipette's drop: drawn rather than loaded, so the button needs no resource.
QIcon EyedropperIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.5));
    painter.drawLine(QPointF(3, 13), QPointF(10, 6));
    painter.drawEllipse(QPointF(11.5, 4.5), 2.5, 2.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QPointF(2.5, 13.5), 1.5, 1.5);
    return QIcon(pixmap);
}

} // namespace

QToolButton *AddScreenPickButton(TColorPickerForm &form, TScreenPickStarter pick)
{
    auto *button = new QToolButton(&form);
    button->setObjectName(QStringLiteral("ScreenPickButton"));
    // Right of the preview's frame (ends at x 137), left of OK (starts at x 268), on the row of
    // the preview itself.
    button->setGeometry(143, 281, 24, 24);
    button->setIcon(EyedropperIcon());
    button->setToolTip(QStringLiteral("Pick from screen"));
    button->setAccessibleName(QStringLiteral("Pick from screen"));
    // Reached by Tab after the palette, and by the main window's key for the same command.
    button->setFocusPolicy(Qt::TabFocus);
    QWidget::setTabOrder(form.ColCelPaintBox, button);
    auto *key = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), &form);
    QObject::connect(key, &QShortcut::activated, button, &QToolButton::click);
    QPointer<TColorPickerForm> target(&form);
    QObject::connect(button, &QToolButton::clicked, &form, [target, pick] {
        if (!pick || !target)
            return;
        pick(target, [target](TColor color) {
            if (target)
                TakeScreenColor(*target, color);
        });
    });
    button->show();
    return button;
}

void TakeScreenColor(TColorPickerForm &form, TColor color)
{
    if (form.Selected() < 0)
        return;
    form.SetPaletteColor(form.Selected(), color);
    form.UpdateControls(ucAll);
}
