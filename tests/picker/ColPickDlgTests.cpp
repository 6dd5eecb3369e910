#include "framework/ComponentImage.h"
#include "picker/ColPickDlg.h"

#include <gtest/gtest.h>

#include <QFile>

#include <memory>
#include <set>
#include <string>

namespace {

// Owner with a named reference, as the main window holds its picker component.
class TOwnerForm : public TComponent {
public:
    TOwnerForm() { DeclareReference(QStringLiteral("ColorPickerDialog"), ColorPickerDialog); }
    QString ClassName() const override { return QStringLiteral("TOwnerForm"); }
    bool IsForm() const override { return true; }
    TColorPickerDialog *ColorPickerDialog = nullptr;
};

QByteArray CorpusFile(const char *name)
{
    QFile f(QString(PIGMORA_TEST_DATA) + "/images/" + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

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

// ---- the corpus of images with one fault each --------------------------------------------------

class BadImage : public testing::TestWithParam<const char *> {};

TEST_P(BadImage, IsRejectedAndOldComponentStaysAsItWas)
{
    const QByteArray image = CorpusFile(GetParam());
    ASSERT_FALSE(image.isEmpty()) << GetParam();

    TOwnerForm form;
    auto *d = new TColorPickerDialog(&form);
    d->SetName(QStringLiteral("ColorPickerDialog"));
    d->SetColor(clAqua);
    d->SetColorSwitch(csGreen);
    d->SetTitle(QStringLiteral("Mine"));
    d->SetTemporaryPalette(20, clOlive);
    d->DesignLeft = 5;
    // Faults of form are found by the parser; the others by the check against the class.
    const bool wellFormed = std::string(GetParam()).find("past_end") == std::string::npos
                            && std::set<std::string>{"bad_truncated.bin", "bad_truncated_in_value.bin",
                                                     "bad_unknown_tag.bin", "bad_deep_nesting.bin",
                                                     "bad_signature.bin", "bad_unterminated_set.bin",
                                                     "bad_prefix_without_position.bin", "bad_garbage.bin",
                                                     "bad_empty_class_name.bin"}
                                       .count(GetParam())
                                   == 0;
    TImageRecord record;
    EXPECT_EQ(ParseComponentImage(image, record), wellFormed);
    EXPECT_EQ(ReadComponentImage(image, d), nullptr);
    ASSERT_EQ(form.ColorPickerDialog, d);
    EXPECT_EQ(form.Components().size(), 1u);
    EXPECT_EQ(d->Name(), QStringLiteral("ColorPickerDialog"));
    EXPECT_EQ(d->Owner(), &form);
    EXPECT_EQ(d->Color(), clAqua);
    EXPECT_EQ(d->ColorSwitch(), csGreen);
    EXPECT_EQ(d->Title(), QStringLiteral("Mine"));
    EXPECT_EQ(d->GetTemporaryPalette(20), clOlive);
    EXPECT_EQ(d->DesignLeft, 5);
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, BadImage,
    testing::Values("bad_truncated.bin", "bad_truncated_in_value.bin", "bad_string_length_past_end.bin",
                    "bad_long_string_length_past_end.bin", "bad_binary_length_past_end.bin",
                    "bad_wide_count_past_end.bin", "bad_class_name_length_past_end.bin", "bad_unknown_class.bin",
                    "bad_unknown_property.bin", "bad_wrong_tag_colour_as_string.bin",
                    "bad_wrong_tag_title_as_integer.bin", "bad_unknown_enum_value.bin",
                    "bad_integer_out_of_range.bin", "bad_float_for_integer.bin", "bad_unknown_tag.bin",
                    "bad_deep_nesting.bin", "bad_child_record.bin", "bad_wrong_name.bin", "bad_signature.bin",
                    "bad_unterminated_set.bin", "bad_prefix_without_position.bin", "bad_garbage.bin",
                    "bad_empty_class_name.bin", "bad_dialog_image_for_picker.bin"),
    [](const testing::TestParamInfo<const char *> &info) {
        const std::string name = info.param;
        return name.substr(4, name.size() - 8);
    });

struct TGoodImage {
    const char *file;
    TColor color;
    TColorSwitch mode;
    QString title;
};

class GoodImage : public testing::TestWithParam<TGoodImage> {};

TEST_P(GoodImage, IsReadWithItsValues)
{
    TOwnerForm form;
    auto *d = new TColorPickerDialog(&form);
    d->SetName(QStringLiteral("ColorPickerDialog"));
    ASSERT_NE(ReadComponentImage(CorpusFile(GetParam().file), d), nullptr);
    ASSERT_NE(form.ColorPickerDialog, nullptr);
    EXPECT_EQ(form.ColorPickerDialog->Color(), GetParam().color);
    EXPECT_EQ(form.ColorPickerDialog->ColorSwitch(), GetParam().mode);
    EXPECT_EQ(form.ColorPickerDialog->Title(), GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, GoodImage,
    testing::Values(TGoodImage{"ok_without_end_byte.bin", 0x00D1B598, csHue, "Color Picker"},
                    TGoodImage{"ok_prefix_byte.bin", 0x00D1B598, csHue, "Color Picker"},
                    TGoodImage{"ok_prefix_child_position.bin", 0x00D1B598, csHue, "Color Picker"},
                    TGoodImage{"ok_colour_identifier.bin", clBtnFace, csRed, "Color Picker"},
                    TGoodImage{"ok_int64_colour.bin", clWindow, csHue, "Color Picker"},
                    TGoodImage{"ok_wide_title.bin", 0, csHue, QStringLiteral("色の選")},
                    TGoodImage{"ok_long_string_title.bin", 0, csHue, QString(300, u'x')}),
    [](const testing::TestParamInfo<TGoodImage> &info) {
        const std::string name = info.param.file;
        return name.substr(3, name.size() - 7);
    });
