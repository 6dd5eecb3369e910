#include "framework/ComponentImage.h"
#include "picker/ColPickDlg.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Owner with a named reference, as the main window holds its picker component.
class TOwnerForm : public TComponent {
public:
    TOwnerForm() { DeclareReference(QStringLiteral("ColorPickerDialog"), ColorPickerDialog); }
    QString ClassName() const override { return QStringLiteral("TOwnerForm"); }
    bool IsForm() const override { return true; }
    TColorPickerDialog *ColorPickerDialog = nullptr;
};

QByteArray WorkedExample()
{
    return QByteArray::fromHex("545046301254436F6C6F725069636B65724469616C6F6711436F6C6F72506963"
                               "6B65724469616C6F6705436F6C6F720498B5D100055469746C65060C436F6C6F"
                               "72205069636B6572044C65667403180103546F700268000000");
}

} // namespace

TEST(ColorPickerDialog, NewComponentOpensInHueModeWithDefaultCaptionAndBlackSlots)
{
    TColorPickerDialog d;
    EXPECT_EQ(d.ColorSwitch(), csHue);
    EXPECT_EQ(d.Title(), QStringLiteral("Color Picker"));
    EXPECT_EQ(d.Color(), 0);
    for (int i = 0; i < TemporaryPaletteCount; ++i)
        EXPECT_EQ(d.GetTemporaryPalette(i), 0) << i;
}

TEST(ColorPickerDialog, PaletteIndexOutsideRangeIsIgnored)
{
    TColorPickerDialog d;
    d.SetTemporaryPalette(0, clRed);
    d.SetTemporaryPalette(27, clBlue);
    d.SetTemporaryPalette(28, clLime);
    d.SetTemporaryPalette(-1, clLime);
    EXPECT_EQ(d.GetTemporaryPalette(0), clRed);
    EXPECT_EQ(d.GetTemporaryPalette(27), clBlue);
    for (int i = 1; i < 27; ++i)
        EXPECT_EQ(d.GetTemporaryPalette(i), 0) << i;
    EXPECT_EQ(d.GetTemporaryPalette(28), 0);
    EXPECT_EQ(d.GetTemporaryPalette(-1), 0);
}

TEST(ColorPickerDialogImage, WorkedExampleIsWrittenByteForByte)
{
    TOwnerForm form;
    auto *d = new TColorPickerDialog(&form);
    d->SetName(QStringLiteral("ColorPickerDialog"));
    d->SetColor(0x00D1B598);
    d->DesignLeft = 280;
    d->DesignTop = 104;
    const QByteArray image = WriteComponentImage(*d);
    EXPECT_EQ(image.size(), 89);
    EXPECT_EQ(image.toHex().toUpper(), WorkedExample().toHex().toUpper());
}

TEST(ColorPickerDialogImage, WorkedExampleReadsBackIntoNewInstanceAndRebindsReference)
{
    TOwnerForm form;
    auto *old = new TColorPickerDialog(&form);
    old->SetName(QStringLiteral("ColorPickerDialog"));
    old->SetColorSwitch(csRed);
    old->SetTemporaryPalette(16, clTeal);
    ASSERT_EQ(form.ColorPickerDialog, old);

    TComponent *fresh = ReadComponentImage(WorkedExample(), old);
    ASSERT_NE(fresh, nullptr);
    ASSERT_EQ(form.ColorPickerDialog, fresh);
    EXPECT_EQ(form.Components().size(), 1u);
    EXPECT_EQ(fresh->Name(), QStringLiteral("ColorPickerDialog"));
    EXPECT_EQ(fresh->Owner(), &form);
    const TColorPickerDialog &d = *form.ColorPickerDialog;
    EXPECT_EQ(d.Color(), 0x00D1B598);
    EXPECT_EQ(d.Title(), QStringLiteral("Color Picker"));
    // Properties the image lacks come from construction, not from the old instance.
    EXPECT_EQ(d.ColorSwitch(), csHue);
    EXPECT_EQ(d.GetTemporaryPalette(16), 0);
    EXPECT_EQ(d.DesignLeft, 280);
    EXPECT_EQ(d.DesignTop, 104);
}

TEST(ColorPickerDialogImage, EveryModeAndNamedOrPlainColourRoundTrips)
{
    const TColor colors[] = {0, clRed, clBtnFace, clNone, 0x00123456, static_cast<TColor>(0x80000040)};
    for (TColorSwitch mode : {csHue, csSaturation, csBrightness, csBlue, csGreen, csRed}) {
        for (TColor color : colors) {
            TOwnerForm form;
            auto *d = new TColorPickerDialog(&form);
            d->SetName(QStringLiteral("ColorPickerDialog"));
            d->SetColorSwitch(mode);
            d->SetColor(color);
            d->SetTitle(QStringLiteral("色の選択"));
            d->Tag = -70000;
            const QByteArray image = WriteComponentImage(*d);
            ASSERT_NE(ReadComponentImage(image, d), nullptr) << image.toHex().constData();
            ASSERT_NE(form.ColorPickerDialog, nullptr);
            EXPECT_EQ(form.ColorPickerDialog->ColorSwitch(), mode);
            EXPECT_EQ(form.ColorPickerDialog->Color(), color);
            EXPECT_EQ(form.ColorPickerDialog->Title(), QStringLiteral("色の選択"));
            EXPECT_EQ(form.ColorPickerDialog->Tag, -70000);
            EXPECT_EQ(WriteComponentImage(*form.ColorPickerDialog), image);
        }
    }
}

TEST(ColorPickerDialogImage, ModeAndNamedColourAreWrittenAsIdentifiers)
{
    TColorPickerDialog d;
    d.SetName(QStringLiteral("P"));
    d.SetColorSwitch(csBlue);
    d.SetColor(clRed);
    d.SetTitle(QString());
    const QByteArray expected = QByteArray("TPF0\x12TColorPickerDialog\x01P", 25)
                                + QByteArray("\x0B" "ColorSwitch\x07\x06" "csBlue")
                                + QByteArray("\x05" "Color\x07\x05" "clRed")
                                + QByteArray(3, '\0');
    EXPECT_EQ(WriteComponentImage(d).toHex(), expected.toHex());
}
