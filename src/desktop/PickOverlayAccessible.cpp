// What a screen reader sees of the magnifier: a window named "Pick from screen" whose
// description is what it shows (the colour under the pointer, the square's size when it averages
// one, and the display profile when the pick is colour-managed), and the actions Press to take
// that colour and Cancel, which do what Return and Escape do, and Increase and Decrease, which
// grow and shrink the square as + and - do.
#include "desktop/PickOverlay.h"

#include "framework/Accessible.h"

namespace {

// Qt names no action for closing without a result; this is the name Escape's action goes by.
QString CancelAction()
{
    return QStringLiteral("Cancel");
}

class TPickOverlayAccessible : public QAccessibleWidget {
public:
    explicit TPickOverlayAccessible(TPickOverlay *overlay) : QAccessibleWidget(overlay, QAccessible::Window) {}

    QAccessible::Role role() const override
    {
        // Inside the screenshot window the magnifier is a part of that window, not one of its own.
        return Overlay()->isWindow() ? QAccessible::Window : QAccessible::Grouping;
    }

    QStringList actionNames() const override { return {pressAction(), CancelAction(), increaseAction(), decreaseAction()}; }

    void doAction(const QString &name) override
    {
        if (name == pressAction())
            RunActionLater(Overlay(), [](TPickOverlay *o) { o->Take(o->Centre()); });
        else if (name == CancelAction())
            RunActionLater(Overlay(), [](TPickOverlay *o) { o->Cancel(); });
        else if (name == increaseAction())
            RunActionLater(Overlay(), [](TPickOverlay *o) { o->StepSize(1); });
        else if (name == decreaseAction())
            RunActionLater(Overlay(), [](TPickOverlay *o) { o->StepSize(-1); });
    }

    QStringList keyBindingsForAction(const QString &name) const override
    {
        if (name == pressAction())
            return {QStringLiteral("Return")};
        if (name == CancelAction())
            return {QStringLiteral("Escape")};
        if (name == increaseAction())
            return {QStringLiteral("+")};
        if (name == decreaseAction())
            return {QStringLiteral("-")};
        return {};
    }

private:
    TPickOverlay *Overlay() const { return static_cast<TPickOverlay *>(widget()); }
};

} // namespace

void InstallPickOverlayAccessible()
{
    InstallAccessible<TPickOverlay, TPickOverlayAccessible>();
}
