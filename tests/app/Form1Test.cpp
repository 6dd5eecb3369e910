#include "Form1Fixture.h"
#include "framework/NumberText.h"
#include "widgets/NewHintN.h"

using Form1 = Form1Fixture;

TEST_F(Form1, StartsWithEmptyNotationsAndTheDefaultSwatch)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Pigmora"));
    EXPECT_EQ(form->size(), QSize(390, 357));
    for (const QString &text : NotationFields())
        EXPECT_TRUE(text.isEmpty()) << text.toStdString();
    EXPECT_EQ(form->FTEdit->text(), QStringLiteral("0"));
    EXPECT_EQ(form->fMyColor, 13743512);
    EXPECT_EQ(form->SwatchColor(), 13743512);
    EXPECT_EQ(form->Label1->palette().color(QPalette::Window), QColor(0x98, 0xB5, 0xD1));
    EXPECT_EQ(form->OpenButton->geometry(), QRect(17, 13, 122, 22));
    EXPECT_EQ(form->PovEdit->geometry(), QRect(16, 46, 270, 21));
    EXPECT_EQ(form->LCheckBox->geometry(), QRect(13, 190, 77, 16));
    EXPECT_EQ(form->OpenButton->focusPolicy(), Qt::NoFocus);
}

TEST_F(Form1, OpenWithOkRendersEveryNotation)
{
    form->fMyColor = 0x123456;
    Pick(13743512);
    EXPECT_EQ(dialogOpenedWith, 0x123456);
    const QStringList expected = {
        "13743512", "59.6", "71", "82", "$00D1B598", "#98B5D1", "152", "181", "209",
        "rgb <0.596, 0.71, 0.82>", "rgbf <0.596, 0.71, 0.82, 0>", "rgbt <0.596, 0.71, 0.82, 0>"};
    EXPECT_EQ(NotationFields(), expected);
    EXPECT_EQ(form->SwatchColor(), 13743512);
    EXPECT_EQ(form->RGBFButton->toolTip(), QStringLiteral("rgbf <0.596, 0.71, 0.82, 0>"));
    EXPECT_EQ(form->RGBTButton->toolTip(), QStringLiteral("rgbt <0.596, 0.71, 0.82, 0>"));
    EXPECT_EQ(form->fRR + form->fGG + form->fBB, QStringLiteral("98B5D1"));
}

TEST_F(Form1, OpenWithCancelChangesNothing)
{
    Pick(clAqua);
    const QStringList before = NotationFields();
    dialogAnswer.reset();
    Click(form->OpenButton);
    EXPECT_EQ(NotationFields(), before);
    EXPECT_EQ(form->fMyColor, clAqua);
}

TEST_F(Form1, StandardColoursAndGreyRender)
{
    Pick(clAqua);
    EXPECT_EQ(form->Edit4->text(), QStringLiteral("clAqua"));
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("Aqua"));
    EXPECT_EQ(form->PovEdit->text(), QStringLiteral("rgb <0, 1, 1>"));
    EXPECT_EQ(QStringList({form->Edit1->text(), form->Edit2->text(), form->Edit3->text()}),
              QStringList({"0", "100", "100"}));
    EXPECT_EQ(form->fColorText, QStringLiteral("$00FFFF00"));

    Pick(0x808080 + 0x010101 * 0); // clGray: grey 128
    EXPECT_EQ(form->PovEdit->text(), QStringLiteral("rgb <0.502, 0.502, 0.502>"));
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("50.2"));
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("Gray"));
}

TEST_F(Form1, PigmentSwitchWrapsEveryPovNotation)
{
    Pick(13743512);
    Click(form->LCheckBox);
    EXPECT_TRUE(form->LCheckBox->Checked());
    EXPECT_EQ(form->PovEdit->text(), QStringLiteral("pigment{ rgb <0.596, 0.71, 0.82> }"));
    EXPECT_EQ(form->fRgbfText, QStringLiteral("pigment{ rgbf <0.596, 0.71, 0.82, 0> }"));
    EXPECT_EQ(form->fRgbtText, QStringLiteral("pigment{ rgbt <0.596, 0.71, 0.82, 0> }"));
    Click(form->LCheckBox);
    EXPECT_EQ(form->PovEdit->text(), QStringLiteral("rgb <0.596, 0.71, 0.82>"));
}

TEST_F(Form1, PigmentSwitchOnBlackRendersNothing)
{
    Pick(clBlack);
    const QStringList before = NotationFields();
    Click(form->LCheckBox);
    EXPECT_TRUE(form->LCheckBox->Checked());
    EXPECT_EQ(NotationFields(), before);
    EXPECT_EQ(form->PovEdit->text(), QStringLiteral("rgb <0, 0, 0>"));
}

TEST_F(Form1, CopyCommandsPutTheNotationsOnTheClipboard)
{
    Pick(13743512);
    Click(form->RGBButton);
    EXPECT_EQ(Clipboard(), QStringLiteral("rgb <0.596, 0.71, 0.82>"));
    Click(form->DelphiButton);
    EXPECT_EQ(Clipboard(), QStringLiteral("$00D1B598"));
    Click(form->HtmlButton);
    EXPECT_EQ(Clipboard(), QStringLiteral("#98B5D1"));
    Click(form->RGBFButton);
    EXPECT_EQ(Clipboard(), QStringLiteral("rgbf <0.596, 0.71, 0.82, 0>"));
    Click(form->RGBTButton);
    EXPECT_EQ(Clipboard(), QStringLiteral("rgbt <0.596, 0.71, 0.82, 0>"));

    // Typed text is copied as it stands; rgbf keeps the stored notation.
    form->PovEdit->setText(QStringLiteral("typed"));
    Click(form->RGBButton);
    EXPECT_EQ(Clipboard(), QStringLiteral("typed"));
    EXPECT_EQ(form->PovEdit->selectedText(), QStringLiteral("typed"));
}

TEST_F(Form1, CopyOfAnEmptyFieldLeavesTheClipboardAlone)
{
    Click(form->RGBButton);
    Click(form->DelphiButton);
    Click(form->HtmlButton);
    EXPECT_EQ(Clipboard(), QStringLiteral("untouched"));
    Click(form->RGBFButton); // before any rendering: an empty text
    EXPECT_EQ(Clipboard(), QString());
}

TEST_F(Form1, AboutShowsTheVersion)
{
    Click(form->AboutButton);
    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_EQ(messages.Messages[0].kind, TMessageKind::Message);
    EXPECT_EQ(messages.Messages[0].caption, QStringLiteral("Pigmora"));
    EXPECT_EQ(messages.Messages[0].text, QStringLiteral("Pigmora ver1.11"));
}

TEST_F(Form1, SystemColourShowsItsNameAndKeepsTheOtherNotations)
{
    Pick(13743512);
    Pick(clBtnFace);
    EXPECT_EQ(form->Label7->text(), QString::number(static_cast<qint32>(0x8000000F)));
    EXPECT_EQ(form->Edit4->text(), QStringLiteral("clBtnFace"));
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("windows system"));
    EXPECT_EQ(form->SwatchColor(), clBtnFace);
    EXPECT_EQ(form->PovEdit->text(), QStringLiteral("rgb <0.596, 0.71, 0.82>"));
    EXPECT_EQ(form->Edit6->text(), QStringLiteral("152"));
    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_EQ(messages.Messages[0].text, QStringLiteral("windows system color."));

    Pick(clNone);
    EXPECT_EQ(form->Edit4->text(), QStringLiteral("clNone"));
    EXPECT_EQ(messages.Messages.size(), 2u);
}

TEST_F(Form1, FilterField)
{
    Pick(13743512);
    form->FTEdit->setText(QStringLiteral("2"));
    Pick(13743512);
    EXPECT_EQ(form->fRgbfText, QStringLiteral("rgbf <0.596, 0.71, 0.82, 1>"));
    EXPECT_EQ(form->FTEdit->text(), QStringLiteral("2"));

    form->FTEdit->clear();
    Pick(13743512);
    EXPECT_EQ(form->FTEdit->text(), QStringLiteral("0"));
    EXPECT_EQ(form->fRgbtText, QStringLiteral("rgbt <0.596, 0.71, 0.82, 0>"));

    form->FTEdit->setText(QStringLiteral("0.50"));
    Pick(13743512);
    EXPECT_EQ(form->fRgbfText, QStringLiteral("rgbf <0.596, 0.71, 0.82, 0.50>"));
}

TEST_F(Form1, UnreadableFilterStopsTheRenderingAfterThePercentFields)
{
    Pick(13743512);
    form->FTEdit->setText(QStringLiteral("1.2.3"));
    Pick(clAqua);
    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_EQ(messages.Messages[0].kind, TMessageKind::Error);
    EXPECT_EQ(messages.Messages[0].text, QStringLiteral("'1.2.3' は浮動小数点数ではありません."));
    EXPECT_EQ(form->Edit4->text(), QStringLiteral("clAqua"));
    EXPECT_EQ(form->Edit2->text(), QStringLiteral("100"));
    EXPECT_EQ(form->PovEdit->text(), QStringLiteral("rgb <0.596, 0.71, 0.82>"));
    EXPECT_EQ(form->Edit6->text(), QStringLiteral("152"));
    EXPECT_EQ(form->fRgbfText, QStringLiteral("rgbf <0.596, 0.71, 0.82, 0>"));
    EXPECT_EQ(form->RGBFButton->toolTip(), QStringLiteral("rgbf <0.596, 0.71, 0.82, 0>"));
}

TEST_F(Form1, AnyTypedFilterTextGivesAValueOrTheErrorBox)
{
    const QStringList fixed = {QString(), QStringLiteral("abc"), QStringLiteral("1.2.3"), QString(10000, QLatin1Char('7')),
                               QStringLiteral("１２"), QStringLiteral("."), QStringLiteral("0.\u0000")};
    quint32 seed = 7;
    const QString alphabet = QStringLiteral("0123456789.. -x");
    QStringList texts = fixed;
    for (int i = 0; i < 2000; ++i) {
        QString t;
        for (int k = 0, n = static_cast<int>((seed = seed * 69069u + 1u) % 12); k < n; ++k)
            t += alphabet[static_cast<int>((seed = seed * 69069u + 1u) % alphabet.size())];
        texts << t;
    }
    for (const QString &t : texts) {
        messages.Messages.clear();
        form->FTEdit->setText(t);
        form->fMyColor = 0x102030;
        bool failed = false;
        try {
            form->DoRGB();
        } catch (const EConvertError &) {
            failed = true;
        }
        if (!failed) {
            const QString f = form->fFilterText;
            EXPECT_TRUE(f == QStringLiteral("0") || f == QStringLiteral("1") || f == form->FTEdit->text());
        }
    }
}

TEST_F(Form1, ExitClosesTheWindow)
{
    Click(form->ExitButton);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(Form1, CommandButtonsAndToolTipsTakeTheWindowsLook)
{
    EXPECT_EQ(form->RGBButton->Colors().Color(), 13295574);
    EXPECT_EQ(form->Re_PerButton->ActiveColors().Color(), 5276872);
    EXPECT_EQ(form->ExitButton->ActiveFont().Color(), clRed);
    EXPECT_EQ(form->ExitButton->Font().Get().family(), QStringLiteral("Tiranti Solid LET"));
    EXPECT_EQ(form->Re_DeButton->Font().Get().pixelSize(), 13);
    ASSERT_NE(form->AppHintN1, nullptr);
    EXPECT_EQ(form->AppHintN1->HintStyle(), hsFukidashi);
    EXPECT_EQ(form->AppHintN1->BGColor, 15254954);
    EXPECT_FALSE(form->AppHintN1->ShadowVisible);
}
