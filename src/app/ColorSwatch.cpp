#include "app/ColorSwatch.h"

#include "framework/Accessible.h"

#include <QAccessibleTextInterface>

QString HtmlColorText(TColor color)
{
    return ToQColor(color).name(QColor::HexRgb).toUpper();
}

namespace {

// A label whose text is the colour: read-only, no selection, one line.
class TSwatchAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TSwatchAccessible(TColorSwatch *swatch) : QAccessibleWidget(swatch, QAccessible::StaticText) {}

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // The name says the colour too ("Current colour: #350ABF"), for a screen reader's review of
    // the window, which reads names, not texts.
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return Text();
        if (t == QAccessible::Name)
            return QStringLiteral("%1: %2").arg(QAccessibleWidget::text(t), Text());
        return QAccessibleWidget::text(t);
    }

    // QAccessibleTextInterface
    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override
    {
        const QString all = Text();
        start = std::clamp(start, 0, static_cast<int>(all.size()));
        end = end < 0 ? static_cast<int>(all.size()) : std::clamp(end, start, static_cast<int>(all.size()));
        return all.mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(Text().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *start, int *end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    QString Text() const { return HtmlColorText(static_cast<const TColorSwatch *>(object())->Color()); }
};

} // namespace

TColorSwatch::TColorSwatch(QWidget *parent) : QLabel(parent)
{
    InstallAccessible<TColorSwatch, TSwatchAccessible>();
}

void TColorSwatch::SetColor(TColor color)
{
    const QString before = HtmlColorText(FColor);
    FColor = color;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(color));
    setPalette(pal);
    const QString now = HtmlColorText(color);
    if (before == now)
        return;
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(this, 0, before, now);
        QAccessible::updateAccessibility(&event);
        QAccessibleEvent named(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&named);
    }
    emit Changed(now);
}
