// What a screen reader sees of the lozenge box: a check box named by its caption, its hint as
// the description, its checked state, and Toggle and Press actions that click it as the mouse
// does.
#include "widgets/LCBox.h"

#include "framework/Accessible.h"

namespace {

class TLozengeAccessible : public QAccessibleWidget {
public:
    explicit TLozengeAccessible(TLozengeCheckBox *box) : QAccessibleWidget(box, QAccessible::CheckBox) {}

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return AccessibleNameOr(Box(), Box()->Caption());
        default: // the description is the hint
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = Box()->Checked();
        return s;
    }

    QStringList actionNames() const override { return {toggleAction(), pressAction(), setFocusAction()}; }

    void doAction(const QString &name) override
    {
        if (name == setFocusAction())
            QAccessibleWidget::doAction(name);
        else if ((name == toggleAction() || name == pressAction()) && Box()->Enabled())
            RunActionLater(Box(), [](TLozengeCheckBox *b) { b->Click(); });
    }

    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    TLozengeCheckBox *Box() const { return static_cast<TLozengeCheckBox *>(widget()); }
};

} // namespace

void InstallLozengeAccessible()
{
    InstallAccessible<TLozengeCheckBox, TLozengeAccessible>();
}

void NotifyLozengeChecked(TLozengeCheckBox *box)
{
    QAccessible::State changed;
    changed.checked = true;
    NotifyAccessibleState(box, changed);
}
