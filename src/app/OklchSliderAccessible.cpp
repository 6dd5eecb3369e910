// What a screen reader sees of an OKLCH slider: a slider named by its caption, whose value is the
// number it holds and whose description says it with what lies beyond (outside sRGB). Setting
// the value moves it as the keys do.
#include "app/OklchSlider.h"

#include "framework/Accessible.h"

#include <QAccessibleValueInterface>

namespace {

class TOklchSliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit TOklchSliderAccessible(TOklchSlider *s) : QAccessibleWidget(s, QAccessible::Slider) {}

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value || t == QAccessible::Description)
            return Slider()->ValueText();
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return Slider()->Value(); }
    void setCurrentValue(const QVariant &value) override
    {
        bool ok = false;
        const double v = value.toDouble(&ok);
        if (ok && Slider()->isEnabled())
            Slider()->MoveTo(v);
    }
    QVariant maximumValue() const override { return Slider()->Maximum(); }
    QVariant minimumValue() const override { return Slider()->Minimum(); }
    QVariant minimumStepSize() const override { return Slider()->Step(); }

private:
    TOklchSlider *Slider() const { return static_cast<TOklchSlider *>(widget()); }
};

} // namespace

void InstallOklchSliderAccessible()
{
    InstallAccessible<TOklchSlider, TOklchSliderAccessible>();
}
