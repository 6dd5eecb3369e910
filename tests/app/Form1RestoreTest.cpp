#include "AdversarialTexts.h"

#include "Form1Fixture.h"

#include <QFocusEvent>
#include <QMenu>

#include <utility>

namespace {

class Form1Restore : public Form1Fixture {
protected:
    QStringList Fields() const { return NotationFields() << form->fColorText; }

    QString OnlyError() const
    {
        if (messages.Messages.size() != 1 || messages.Messages[0].kind != TMessageKind::Error)
            return QStringLiteral("<no single error box>");
        return messages.Messages[0].text;
    }
};

} // namespace

TEST_F(Form1Restore, PovFieldRestoresColourAndLeavesTheStoredNotations)
{
    Pick(clAqua);
    const QString typed = QStringLiteral("pigment{ rgbf <0.596, 0.71, 0.82, 0> }");
    form->PovEdit->setText(typed);
    Click(form->RestoreButton);

    EXPECT_EQ(form->fMyColor, 0xD1B598);
    EXPECT_EQ(form->SwatchColor(), 0xD1B598);
    EXPECT_EQ(form->fRestoreText, typed);
    const QStringList expected = {"13743512", "59.6", "71", "82", "$00D1B598", "#98B5D1", "152", "181", "209",
                                  typed, "rgbf <0, 1, 1, 0>", "rgbt <0, 1, 1, 0>", "$00FFFF00"};
    EXPECT_EQ(Fields(), expected);
    EXPECT_TRUE(messages.Messages.empty());

    // A standard colour keeps its hexadecimal form.
    form->PovEdit->setText(QStringLiteral("<0.5,0.5,0.5>"));
    Click(form->RestoreButton);
    EXPECT_EQ(form->Edit4->text(), QStringLiteral("$00808080"));
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("#808080"));
}

TEST_F(Form1Restore, PovFieldWithTwoValuesShowsTheNumberErrorAndChangesNothing)
{
    Pick(clAqua);
    const QStringList before = Fields();
    form->PovEdit->setText(QStringLiteral("<0.5,0.5>"));
    Click(form->RestoreButton);
    EXPECT_EQ(OnlyError(), QStringLiteral("'' は浮動小数点数ではありません."));
    EXPECT_EQ(messages.Messages[0].caption, QStringLiteral("Pigmora"));
    EXPECT_EQ(form->fMyColor, clAqua);
    QStringList after = Fields();
    after[9] = before[9];
    EXPECT_EQ(after, before);
}

TEST_F(Form1Restore, ConstantAndHtmlFieldsRenderInFull)
{
    form->Edit4->setText(QStringLiteral("$02D1B598"));
    Click(form->Re_DeButton);
    EXPECT_EQ(form->fMyColor, 0x02D1B598);
    EXPECT_EQ(form->SwatchColor(), 0x02D1B598);
    EXPECT_EQ(form->Edit4->text(), QStringLiteral("$02D1B598"));
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("#98B5D1"));
    EXPECT_EQ(form->PovEdit->text(), QStringLiteral("rgb <0.596, 0.71, 0.82>"));

    form->Edit5->setText(QStringLiteral("#00FFFF"));
    Click(form->Re_HtButton);
    EXPECT_EQ(form->fMyColor, clAqua);
    EXPECT_EQ(form->Edit4->text(), QStringLiteral("clAqua"));
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("Aqua"));
    Click(form->Re_HtButton); // "Aqua" and "clAqua" are no notations to read back
    Click(form->Re_DeButton);
    EXPECT_EQ(form->fMyColor, clAqua);
    EXPECT_TRUE(messages.Messages.empty());
}

TEST_F(Form1Restore, ByteFieldsShowZeroForAnEmptyField)
{
    form->Edit6->setText(QStringLiteral("255"));
    form->Edit7->setText(QStringLiteral("0"));
    form->Edit8->clear();
    Click(form->Re_RgbButton);
    EXPECT_EQ(form->fMyColor, clRed);
    EXPECT_EQ(form->Edit8->text(), QStringLiteral("0"));
    EXPECT_EQ(form->Edit4->text(), QStringLiteral("clRed"));

    form->Edit7->setText(QStringLiteral("256"));
    Click(form->Re_RgbButton);
    EXPECT_EQ(form->fMyColor, clRed);
    EXPECT_EQ(form->Edit7->text(), QStringLiteral("256"));

    form->Edit7->setText(QStringLiteral("99999999999999999999"));
    Click(form->Re_RgbButton);
    EXPECT_EQ(OnlyError(), QStringLiteral("'99999999999999999999' は整数ではありません."));
    EXPECT_EQ(form->fMyColor, clRed);
}

TEST_F(Form1Restore, PercentFieldsWriteTheirOwnNotationsWithZeroFilter)
{
    Pick(0x123456);
    const QString rgbt = form->fRgbtText;
    form->FTEdit->setText(QStringLiteral("0.5"));
    form->Edit1->setText(QStringLiteral("100.0"));
    form->Edit2->setText(QStringLiteral("50"));
    form->Edit3->clear();
    Click(form->Re_PerButton);
    EXPECT_EQ(form->fMyColor, 0x0080FF);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("100.0"));
    EXPECT_EQ(form->Edit3->text(), QStringLiteral("0"));
    EXPECT_EQ(form->PovEdit->text(), QStringLiteral("rgb <1, 0.5, 0>"));
    EXPECT_EQ(form->fRgbfText, QStringLiteral("rgbf <1, 0.5, 0, 0>"));
    EXPECT_EQ(form->fRgbtText, rgbt);
    EXPECT_EQ(form->fColorText, QStringLiteral("$000080FF"));
    EXPECT_EQ(form->Edit4->text(), QStringLiteral("$000080FF"));
}

TEST_F(Form1Restore, PercentFieldsRejectOrFailAfterFillingEmptyFields)
{
    Pick(0x123456);
    form->Edit1->setText(QStringLiteral("100.1"));
    form->Edit2->clear();
    Click(form->Re_PerButton);
    EXPECT_EQ(form->fMyColor, 0x123456);
    EXPECT_EQ(form->Edit2->text(), QStringLiteral("0"));
    EXPECT_TRUE(messages.Messages.empty());

    form->Edit1->setText(QStringLiteral("5,0"));
    form->Edit3->clear();
    Click(form->Re_PerButton);
    EXPECT_EQ(OnlyError(), QStringLiteral("'5,0' は浮動小数点数ではありません."));
    EXPECT_EQ(form->Edit3->text(), QStringLiteral("0"));
    EXPECT_EQ(form->fMyColor, 0x123456);
}

TEST_F(Form1Restore, RandomColoursFollowThePinnedClock)
{
    Click(form->RandomButton1);
    EXPECT_EQ(form->fMyColor, 0x7D24B2);
    EXPECT_EQ(form->Edit4->text(), QStringLiteral("$007D24B2"));
    form->fMyColor = 0;
    Click(form->RandomButton1); // the same millisecond: the same colour
    EXPECT_EQ(form->fMyColor, 0x7D24B2);

    Click(form->RandomButton2);
    EXPECT_EQ(form->fMyColor, 0x7C7276);
    EXPECT_EQ(form->Edit6->text(), QStringLiteral("118"));

    clock.Ms += 1;
    Click(form->RandomButton1);
    EXPECT_NE(form->fMyColor, 0x7D24B2);
}

TEST_F(Form1Restore, ClearEmptiesTheNotationFieldsOnly)
{
    Pick(0xD1B598);
    form->KanjiEdit->setText(QStringLiteral("abc"));
    Click(form->ClearButton);
    for (QLineEdit *e : {form->PovEdit, form->Edit1, form->Edit2, form->Edit3, form->Edit4, form->Edit5,
                         form->Edit6, form->Edit7, form->Edit8})
        EXPECT_TRUE(e->text().isEmpty()) << e->objectName().toStdString();
    EXPECT_EQ(form->Label7->text(), QStringLiteral("13743512"));
    EXPECT_EQ(form->KanjiEdit->text(), QStringLiteral("abc"));
    EXPECT_EQ(form->FTEdit->text(), QStringLiteral("0"));
    EXPECT_EQ(form->fMyColor, 0xD1B598);

    Click(form->RGBButton);
    Click(form->DelphiButton);
    EXPECT_EQ(Clipboard(), QStringLiteral("untouched"));
    Click(form->RGBFButton);
    EXPECT_EQ(Clipboard(), QStringLiteral("rgbf <0.596, 0.71, 0.82, 0>"));

    Click(form->RepreButton);
    EXPECT_EQ(form->PovEdit->text(), QStringLiteral("rgb <0.596, 0.71, 0.82>"));
}

TEST_F(Form1Restore, RepreOnBlackChangesNothing)
{
    Pick(clBlack);
    Click(form->ClearButton);
    const QStringList cleared = Fields();
    Click(form->RepreButton);
    EXPECT_EQ(Fields(), cleared);
}

TEST_F(Form1Restore, JapaneseTextToEscapesAndBack)
{
    form->KanjiEdit->setText(QString::fromUtf16(u"漢字"));
    Click(form->KanjiButton);
    EXPECT_EQ(form->UniCodeEdit->text(), QStringLiteral("\\u6F22\\u5B57"));
    EXPECT_EQ(form->UniCodeEdit->toolTip(), QStringLiteral("\\u6F22\\u5B57"));
    EXPECT_EQ(form->KanjiEdit->toolTip(), QString::fromUtf16(u"漢字"));
    EXPECT_EQ(Clipboard(), QStringLiteral("\\u6F22\\u5B57"));

    form->UniCodeEdit->setText(QStringLiteral("\\uD83D\\uDE00\\u3042"));
    Click(form->UniCodeButton);
    EXPECT_EQ(form->KanjiEdit->text(), QString::fromUtf16(u"😀あ"));
    EXPECT_EQ(form->KanjiEdit->toolTip(), QString::fromUtf16(u"😀あ"));

    form->UniCodeEdit->setText(QStringLiteral("\\u6f22\\u5b57"));
    Click(form->UniCodeButton);
    EXPECT_EQ(form->KanjiEdit->text(), QString::fromUtf16(u"😀あ"));

    form->UniCodeEdit->setText(QStringLiteral("\\u6F22\\u5B5"));
    Click(form->UniCodeButton);
    EXPECT_TRUE(form->KanjiEdit->text().isEmpty());
    EXPECT_TRUE(form->KanjiEdit->toolTip().isEmpty());
    EXPECT_TRUE(messages.Messages.empty());
}

TEST_F(Form1Restore, LeadingByteOrderMarkSurvivesBothWaysAndInTheToolTips)
{
    const QString text = QStringView(u"\uFEFFあ").toString();
    form->UniCodeEdit->setText(QStringLiteral("\\uFEFF\\u3042"));
    Click(form->UniCodeButton);
    EXPECT_EQ(form->KanjiEdit->text(), text);
    EXPECT_EQ(form->KanjiEdit->toolTip(), text);

    form->UniCodeEdit->clear();
    Click(form->KanjiButton);
    EXPECT_EQ(form->UniCodeEdit->text(), QStringLiteral("\\uFEFF\\u3042"));
    EXPECT_EQ(form->KanjiEdit->toolTip(), text);
    EXPECT_EQ(Clipboard(), QStringLiteral("\\uFEFF\\u3042"));
}

TEST_F(Form1Restore, LongTextsAreNeverCut)
{
    // 6,000 characters give 36,000 escape characters, beyond an edit's usual limit of 32,767.
    const QString text(6000, QChar(0x3042));
    form->KanjiEdit->setText(text);
    Click(form->KanjiButton);
    EXPECT_EQ(form->UniCodeEdit->text().size(), 36000);
    EXPECT_EQ(Clipboard().size(), 36000);
    form->KanjiEdit->clear();
    Click(form->UniCodeButton);
    EXPECT_EQ(form->KanjiEdit->text(), text);

    const QString million(1000000, QLatin1Char('u'));
    for (QLineEdit *edit : {form->KanjiEdit, form->UniCodeEdit}) {
        edit->setText(million);
        EXPECT_EQ(edit->text().size(), million.size()) << edit->objectName().toStdString();
        edit->clear();
    }
    for (const QLineEdit *edit : form->findChildren<QLineEdit *>())
        EXPECT_GE(edit->maxLength(), 1000000) << edit->objectName().toStdString();

    // A copy button selects and copies the whole megabyte, as with a short text.
    const QString pov = QStringLiteral("rgb <0.1, 0.2, 0.3> ") + million;
    form->PovEdit->setText(pov);
    Click(form->RGBButton);
    EXPECT_EQ(Clipboard(), pov);
    EXPECT_EQ(form->PovEdit->selectedText(), pov);
    EXPECT_EQ(form->PovEdit->cursorPosition(), pov.size());
}

TEST_F(Form1Restore, EmptyJapaneseFieldLeavesTheClipboard)
{
    form->UniCodeEdit->setText(QStringLiteral("\\u0041"));
    Click(form->KanjiButton);
    EXPECT_TRUE(form->UniCodeEdit->text().isEmpty());
    EXPECT_EQ(Clipboard(), QStringLiteral("untouched"));
}

TEST_F(Form1Restore, JapaneseFieldConvertsOnFocusAndSelectsAllOnClick)
{
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->KanjiEdit->setText(QStringLiteral("A"));
    form->Edit5->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(form->Edit5, Qt::Key_Tab);
    ASSERT_TRUE(form->KanjiEdit->hasFocus());
    EXPECT_EQ(form->UniCodeEdit->text(), QStringLiteral("\\u0041"));
    EXPECT_EQ(Clipboard(), QStringLiteral("\\u0041"));

    form->FTEdit->setFocus(Qt::OtherFocusReason);
    form->KanjiEdit->setText(QString::fromUtf16(u"ｱ"));
    Click(form->KanjiEdit);
    EXPECT_EQ(Clipboard(), QStringLiteral("\\uFF71"));
    EXPECT_EQ(form->KanjiEdit->selectedText(), QString::fromUtf16(u"ｱ"));

    form->UniCodeEdit->deselect();
    Click(form->UniCodeEdit);
    EXPECT_EQ(form->UniCodeEdit->selectedText(), QStringLiteral("\\uFF71"));
}

// Only the user moving into the field converts; focus that comes back to it by itself leaves the
// escape field and the clipboard alone.
class Form1FocusReason : public Form1Restore, public testing::WithParamInterface<std::pair<Qt::FocusReason, bool>> {};

TEST_P(Form1FocusReason, ConvertsOnlyForMouseTabAndBacktab)
{
    const auto [reason, converts] = GetParam();
    form->KanjiEdit->setText(QStringLiteral("A"));
    QFocusEvent focusIn(QEvent::FocusIn, reason);
    QApplication::sendEvent(form->KanjiEdit, &focusIn);
    EXPECT_EQ(form->UniCodeEdit->text(), converts ? QStringLiteral("\\u0041") : QString());
    EXPECT_EQ(Clipboard(), converts ? QStringLiteral("\\u0041") : QStringLiteral("untouched"));
}

INSTANTIATE_TEST_SUITE_P(Form1Restore, Form1FocusReason,
                         testing::Values(std::pair{Qt::MouseFocusReason, true}, std::pair{Qt::TabFocusReason, true},
                                         std::pair{Qt::BacktabFocusReason, true},
                                         std::pair{Qt::ActiveWindowFocusReason, false},
                                         std::pair{Qt::PopupFocusReason, false},
                                         std::pair{Qt::ShortcutFocusReason, false},
                                         std::pair{Qt::MenuBarFocusReason, false},
                                         std::pair{Qt::OtherFocusReason, false}));

TEST_F(Form1Restore, JapaneseFieldKeepsTheClipboardWhenTheWindowComesBackOrItsMenuCloses)
{
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->KanjiEdit->setText(QStringLiteral("A"));
    form->KanjiEdit->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(form->KanjiEdit->hasFocus());
    QApplication::clipboard()->setText(QStringLiteral("USER-TEXT"));

    // Another window in front, then the main window again.
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    ASSERT_TRUE(form->KanjiEdit->hasFocus());
    EXPECT_EQ(Clipboard(), QStringLiteral("USER-TEXT"));

    // A popup menu over the field, closed again: the field gets the focus back.
    QMenu menu(form->KanjiEdit);
    menu.addAction(QStringLiteral("Paste"));
    menu.popup(form->KanjiEdit->mapToGlobal(QPoint(5, 5)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    menu.close();
    QCoreApplication::processEvents();
    ASSERT_TRUE(form->KanjiEdit->hasFocus());
    EXPECT_EQ(Clipboard(), QStringLiteral("USER-TEXT"));
    EXPECT_TRUE(form->UniCodeEdit->text().isEmpty());

    // Tab and Shift+Tab into the field still convert.
    QTest::keyClick(form->KanjiEdit, Qt::Key_Tab);
    QTest::keyClick(form->UniCodeEdit, Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_TRUE(form->KanjiEdit->hasFocus());
    EXPECT_EQ(Clipboard(), QStringLiteral("\\u0041"));
}

TEST_F(Form1Restore, HostileTextsInEveryFieldKeepTheColourPlain)
{
    const QStringList texts = AdversarialTexts(1500);
    TShineSpeedButton *commands[] = {form->RestoreButton, form->Re_DeButton, form->Re_HtButton, form->Re_RgbButton,
                                     form->Re_PerButton, form->UniCodeButton, form->KanjiButton,
                                     form->UniCodeButton}; // the last one reads back the escapes of the text
    int changed = 0;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QString &t = texts[i];
        // Neighbouring texts in the other fields, so that not every field holds the same.
        const QString &u = texts[(i + 1) % texts.size()];
        for (QLineEdit *e : {form->PovEdit, form->Edit1, form->Edit4, form->Edit5, form->Edit6, form->UniCodeEdit,
                             form->KanjiEdit})
            e->setText(t);
        for (QLineEdit *e : {form->Edit2, form->Edit3, form->Edit7, form->Edit8})
            e->setText(u);
        for (TShineSpeedButton *b : commands) {
            const TColor before = form->fMyColor;
            messages.Messages.clear();
            b->OnClick();
            const auto high = static_cast<std::uint32_t>(form->fMyColor) >> 24;
            if (form->fMyColor != before) {
                ++changed;
                ASSERT_TRUE(high == 0 || (b == form->Re_DeButton && high <= 2)) << t.toStdString();
            }
            for (const TRecordedMessage &m : messages.Messages)
                ASSERT_EQ(m.kind, TMessageKind::Error) << m.text.toStdString();
        }
    }
    // Enough of the texts get through for the commands to have been exercised, not just refused.
    EXPECT_GT(changed, 20);
}
