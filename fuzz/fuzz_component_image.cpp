// Feeds arbitrary bytes to the component image reader, replacing each of the two stored
// dialog components in turn, then writes whatever was read back out.
#include "framework/ColorDialog.h"
#include "framework/ComponentImage.h"
#include "picker/ColPickDlg.h"

#include <cstddef>
#include <cstdint>

namespace {

class TFuzzForm : public TComponent {
public:
    TFuzzForm()
    {
        DeclareReference(QStringLiteral("ColorDialog"), ColorDialog);
        DeclareReference(QStringLiteral("ColorPickerDialog"), ColorPickerDialog);
        (new TColorDialog(this))->SetName(QStringLiteral("ColorDialog"));
        (new TColorPickerDialog(this))->SetName(QStringLiteral("ColorPickerDialog"));
    }
    QString ClassName() const override { return QStringLiteral("TFuzzForm"); }
    bool IsForm() const override { return true; }
    std::function<void(TComponent *)> MethodAddress(const QString &method) const override
    {
        if (method == QLatin1String("ColorDialogShow"))
            return [](TComponent *) {};
        return {};
    }

    TColorDialog *ColorDialog = nullptr;
    TColorPickerDialog *ColorPickerDialog = nullptr;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray image(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    TFuzzForm form;
    if (TComponent *c = ReadComponentImage(image, form.ColorDialog)) {
        if (c != form.ColorDialog)
            __builtin_trap();
        (void)WriteComponentImage(*c);
    }
    if (TComponent *c = ReadComponentImage(image, form.ColorPickerDialog)) {
        if (c != form.ColorPickerDialog)
            __builtin_trap();
        (void)WriteComponentImage(*c);
    }
    return 0;
}
