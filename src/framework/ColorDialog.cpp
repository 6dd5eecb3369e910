#include "framework/ColorDialog.h"

#include "framework/NumberText.h"

#include <QColorDialog>

namespace {

QString CustomColorKey(int index)
{
    return QStringLiteral("Color") + QChar(u'A' + index);
}

} // namespace

TColorDialog::TColorDialog(TComponent *owner) : TComponent(owner)
{
    static const bool registered = (RegisterClass(), true);
    Q_UNUSED(registered);
}

void TColorDialog::RegisterClass()
{
    RegisterComponentClass(QStringLiteral("TColorDialog"), [](TComponent *owner) { return new TColorDialog(owner); });
}

const TPropList &TColorDialog::Properties() const
{
    static const TPropList props = [] {
        TPropList p = BaseProperties();
        AddProperty(p, OrdinalProperty("Ctl3D", TPropKind::Bool, &TColorDialog::Ctl3D, 0));
        AddProperty(p, OrdinalProperty("HelpContext", TPropKind::Integer, &TColorDialog::HelpContext, 0));
        AddProperty(p, EventProperty("OnClose", &TColorDialog::OnClose));
        AddProperty(p, EventProperty("OnShow", &TColorDialog::OnShow));
        AddProperty(p, OrdinalProperty("Color", TPropKind::Color, &TColorDialog::Color, 0));
        AddProperty(p, StringsProperty("CustomColors", &TColorDialog::CustomColors));
        AddProperty(p, OrdinalProperty("Options", TPropKind::Set, &TColorDialog::Options, 0,
                                       {"cdFullOpen", "cdPreventFullOpen", "cdShowHelp", "cdSolidColor",
                                        "cdAnyColor"}));
        return p;
    }();
    return props;
}

bool TColorDialog::Execute()
{
    OnShow(this);
    const bool ok = Runner ? Runner(*this) : RunQtDialog(*this);
    OnClose(this);
    return ok;
}

bool TColorDialog::RunQtDialog(TColorDialog &dialog)
{
    for (int i = 0; i < QColorDialog::customCount() && i < 16; ++i) {
        const TColor c = CustomColorAt(dialog.CustomColors, i);
        if (c >= 0)
            QColorDialog::setCustomColor(i, ToQColor(c));
    }
    QColorDialog box(ToQColor(dialog.Color));
    box.setOption(QColorDialog::DontUseNativeDialog);
    if (box.exec() != QDialog::Accepted)
        return false;
    dialog.Color = FromQColor(box.selectedColor());
    for (int i = 0; i < QColorDialog::customCount() && i < 16; ++i)
        SetCustomColorAt(dialog.CustomColors, i, FromQColor(QColorDialog::customColor(i)));
    return true;
}

TColor CustomColorAt(const QStringList &customColors, int index)
{
    const QString key = CustomColorKey(index);
    for (const QString &line : customColors) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0 || line.left(eq).compare(key, Qt::CaseInsensitive) != 0)
            continue;
        std::int32_t v = 0;
        if (TryReadInteger(QStringLiteral("$") + line.mid(eq + 1), v))
            return v & 0xFFFFFF;
        return -1;
    }
    return -1;
}

void SetCustomColorAt(QStringList &customColors, int index, TColor color)
{
    const QString key = CustomColorKey(index);
    const QString line = key + QLatin1Char('=')
                         + QStringLiteral("%1").arg(color & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
    for (QString &existing : customColors) {
        const qsizetype eq = existing.indexOf(QLatin1Char('='));
        if (eq >= 0 && existing.left(eq).compare(key, Qt::CaseInsensitive) == 0) {
            existing = line;
            return;
        }
    }
    customColors.append(line);
}
