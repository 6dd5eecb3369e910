// What a screen reader sees of the picker window: the mode choices as radio buttons, the strip
// as a slider with its value, the field with the colour under its marker, and the palette as a
// list of 28 cells that can be selected.
#include "picker/ColPickForm.h"

#include "framework/Accessible.h"
#include "framework/Announcer.h"

#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>

#include <vector>

namespace {

QString HashText(TColor c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c)).name(QColor::HexRgb).toUpper();
}

class TRadioItemAccessible : public QAccessibleWidget {
public:
    explicit TRadioItemAccessible(TRadioItem *item) : QAccessibleWidget(item, QAccessible::RadioButton) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return AccessibleNameOr(Item(), Item()->text());
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = Item()->isChecked();
        return s;
    }
    QStringList actionNames() const override { return {pressAction(), toggleAction(), setFocusAction()}; }
    void doAction(const QString &name) override
    {
        if (name == setFocusAction())
            QAccessibleWidget::doAction(name);
        else if ((name == pressAction() || name == toggleAction()) && Item()->isEnabled())
            RunActionLater(Item(), [](TRadioItem *item) { item->click(); });
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    TRadioItem *Item() const { return static_cast<TRadioItem *>(widget()); }
};

TColorPickerForm *FormOf(const QWidget *w)
{
    return dynamic_cast<TColorPickerForm *>(w->window());
}

// The mode's quantity in the unit the edits show it in (degrees, per cent, 0-255), and where
// that unit ends.
int StripUnitValue(TColorSwitch mode, const TPickerValues &v)
{
    const int value = StripComparedValue(mode, v);
    switch (mode) {
    case csHue: return HueToDegrees(value);
    case csSaturation:
    case csBrightness: return LevelToPercent(value);
    default: return value;
    }
}

int StripUnitMaximum(TColorSwitch mode)
{
    switch (mode) {
    case csHue: return 360;
    case csSaturation:
    case csBrightness: return 100;
    default: return 255;
    }
}

QString StripValueText(TColorSwitch mode, const TPickerValues &v)
{
    const int value = StripUnitValue(mode, v);
    switch (mode) {
    case csHue: return QStringLiteral("hue %1 degrees").arg(value);
    case csSaturation: return QStringLiteral("saturation %1%").arg(value);
    case csBrightness: return QStringLiteral("brightness %1%").arg(value);
    case csBlue: return QStringLiteral("blue %1").arg(value);
    case csGreen: return QStringLiteral("green %1").arg(value);
    case csRed: return QStringLiteral("red %1").arg(value);
    }
    return {};
}

int ColourNumber(TColor c)
{
    return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

class TPaintBoxAccessible;

// One palette cell: a list item named by its place and its colour ("#RRGGBB"), which is also its
// value and description; Press selects it as a left click on it does.
class TCellAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TCellAccessible(TPaintBoxAccessible *palette, int index) : FPalette(palette), FIndex(index) {}

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    TPaintBoxAccessible *FPalette;
    int FIndex;
};

// The strip (a slider with the mode's quantity as its value), the field (the colour under its
// marker) and the palette (a list of the 28 cells). Which one a box is is asked each time, so
// an interface made while the window was still being built answers right all the same.
class TPaintBoxAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit TPaintBoxAccessible(TPaintBox *box) : QAccessibleWidget(box) {}
    ~TPaintBoxAccessible() override
    {
        for (QAccessible::Id id : FCells)
            if (id)
                QAccessible::deleteAccessibleInterface(id);
    }

    TColorPickerForm *Form() const { return FormOf(widget()); }
    QWidget *Box() const { return widget(); }
    bool IsStrip() const { return Form() && Box() == Form()->GradPaintBox; }
    bool IsField() const { return Form() && Box() == Form()->ColorListPaintBox; }
    bool IsPalette() const { return Form() && Box() == Form()->ColCelPaintBox; }

    QAccessible::Role role() const override
    {
        if (IsStrip())
            return QAccessible::Slider;
        if (IsField())
            return QAccessible::ColorChooser;
        if (IsPalette())
            return QAccessible::List;
        return QAccessible::Client;
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface && (IsStrip() || IsField()))
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Value)
            return QAccessibleWidget::text(t);
        if (IsStrip())
            return StripValueText(Form()->GetColorSwitch(), Form()->Values());
        if (IsField())
            return HashText(Form()->CurrentColor());
        return {};
    }

    // QAccessibleValueInterface. The strip: the mode's quantity in its unit. The field: the
    // colour under its marker as the number 0xRRGGBB (its text is the value text).
    QVariant currentValue() const override
    {
        if (IsStrip())
            return StripUnitValue(Form()->GetColorSwitch(), Form()->Values());
        return IsField() ? ColourNumber(Form()->CurrentColor()) : 0;
    }
    void setCurrentValue(const QVariant &) override {}
    QVariant maximumValue() const override
    {
        if (IsStrip())
            return StripUnitMaximum(Form()->GetColorSwitch());
        return IsField() ? 0xFFFFFF : 0;
    }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

    int childCount() const override { return IsPalette() ? PaletteCellCount : 0; }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (FCells.empty())
            FCells.assign(PaletteCellCount, 0);
        QAccessible::Id &id = FCells[static_cast<std::size_t>(index)];
        if (!id)
            id = QAccessible::registerAccessibleInterface(
                new TCellAccessible(const_cast<TPaintBoxAccessible *>(this), index));
        return QAccessible::accessibleInterface(id);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (std::size_t i = 0; i < FCells.size(); ++i)
            if (FCells[i] && QAccessible::accessibleInterface(FCells[i]) == child)
                return static_cast<int>(i);
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        if (!IsPalette())
            return nullptr;
        const QPoint p = Box()->mapFromGlobal(QPoint(x, y));
        for (int i = PaletteCellCount - 1; i >= 0; --i)
            if (CellRect(i).contains(p))
                return child(i);
        return nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        return IsPalette() && Box()->hasFocus() ? child(Form()->PaletteCursor()) : nullptr;
    }

    static QRect CellRect(int index)
    {
        return {(index % PaletteColumns) * PaletteCellStep, (index / PaletteColumns) * PaletteCellStep,
                PaletteCellSize, PaletteCellSize};
    }

private:
    mutable std::vector<QAccessible::Id> FCells;
};

bool TCellAccessible::isValid() const { return FPalette->isValid() && FPalette->Form(); }
QWindow *TCellAccessible::window() const { return FPalette->window(); }
QAccessibleInterface *TCellAccessible::parent() const { return FPalette; }

QString TCellAccessible::text(QAccessible::Text t) const
{
    const TColorPickerForm *form = FPalette->Form();
    if (!form)
        return {};
    const QString colour = HashText(form->PaletteColor(FIndex));
    switch (t) {
    case QAccessible::Name:
        return QStringLiteral("Cell %1 (row %2, column %3): %4")
            .arg(FIndex + 1)
            .arg(FIndex / PaletteColumns + 1)
            .arg(FIndex % PaletteColumns + 1)
            .arg(colour);
    case QAccessible::Value:
        return colour; // no description: the name says the colour already
    default:
        return {};
    }
}

QRect TCellAccessible::rect() const
{
    const QRect r = TPaintBoxAccessible::CellRect(FIndex);
    return QRect(FPalette->Box()->mapToGlobal(r.topLeft()), r.size());
}

QAccessible::State TCellAccessible::state() const
{
    QAccessible::State s;
    const TColorPickerForm *form = FPalette->Form();
    s.selectable = true;
    s.focusable = true;
    s.selected = form && form->Selected() == FIndex;
    s.focused = form && FPalette->Box()->hasFocus() && form->PaletteCursor() == FIndex;
    return s;
}

void TCellAccessible::doAction(const QString &name)
{
    TColorPickerForm *form = FPalette->Form();
    if (name != pressAction() || !form)
        return;
    const QPoint at = TColorPickerForm::CellCentre(FIndex);
    RunActionLater(form, [at](TColorPickerForm *f) { f->ColCelPaintBoxMouseDown(Qt::LeftButton, at.x(), at.y()); });
}

} // namespace

void InstallPickerAccessible()
{
    InstallAccessible<TRadioItem, TRadioItemAccessible>();
    InstallAccessible<TPaintBox, TPaintBoxAccessible>();
}

void NotifyPickerBoxChanged(QWidget *box)
{
    const TColorPickerForm *form = FormOf(box);
    // A screen reader reads a value as a bare number: the field's colour is said in words too.
    if (form && box == form->ColorListPaintBox) {
        auto *announcer = box->window()->findChild<TAnnouncer *>(QString(), Qt::FindDirectChildrenOnly);
        if (!announcer)
            announcer = new TAnnouncer(box->window());
        announcer->Say(QStringLiteral("Colour %1").arg(HashText(form->CurrentColor())));
    }
    if (!QAccessible::isActive())
        return;
    if (form && box == form->ColCelPaintBox) {
        if (QAccessibleInterface *palette = QAccessible::queryAccessibleInterface(box))
            if (QAccessibleInterface *cell = palette->child(form->PaletteCursor())) {
                QAccessibleEvent event(cell, QAccessible::Focus);
                QAccessible::updateAccessibility(&event);
            }
        return;
    }
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(box);
    if (!iface || !iface->valueInterface())
        return;
    QAccessibleValueChangeEvent event(box, iface->valueInterface()->currentValue());
    QAccessible::updateAccessibility(&event);
}
