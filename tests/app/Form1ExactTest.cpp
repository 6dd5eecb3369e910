#include "Form1Fixture.h"

#include "app/ColourState.h"
#include "app/CommandMenu.h"
#include "app/HistoryRow.h"
#include "app/NotationsWindow.h"
#include "settings/RegMng.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace {

const QString Outside = QStringLiteral("oklch(0.7 0.25 30)");
const QString OutsideNote = QStringLiteral("outside sRGB: the marked rows show the sRGB fallback");

QLineEdit *RowOf(const TNotationsWindow *w, const char *key)
{
    auto *edit = w->findChild<QLineEdit *>(QStringLiteral("Notation_%1").arg(QLatin1String(key)));
    EXPECT_TRUE(edit) << key;
    return edit;
}

QLabel *MarkOf(const TNotationsWindow *w, const char *key)
{
    auto *mark = w->findChild<QLabel *>(QStringLiteral("Fallback_%1").arg(QLatin1String(key)));
    EXPECT_TRUE(mark) << key;
    return mark;
}

// Types into a row as the user does and presses Return.
void Enter(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

class Form1Exact : public Form1Fixture {
protected:
    void AdjustEnv(TForm1Env &env) override
    {
        env.Beep = [this] { ++beeps; };
    }
    void Paste(const QString &text)
    {
        QApplication::clipboard()->setText(text);
        form->PasteColorClick();
    }
    TNotationsWindow *Window()
    {
        if (!form->NotationsWindow() || !form->NotationsWindow()->isVisible())
            form->NotationsClick();
        return form->NotationsWindow();
    }
    int beeps = 0;
};

TEST_F(Form1Exact, APastedColourOutsideSrgbIsHeldExactlyAndTheFallbackRowsAreMarkedWhileItIsOutside)
{
    form->SetColor(0x00D1B598);
    const QStringList before = NotationFields();
    Paste(Outside);
    EXPECT_EQ(beeps, 0);
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("#FF5843"));
    EXPECT_EQ(form->Colour().Exact(), ReadExactColour(Outside)->Colour);
    TNotationsWindow *w = form->NotationsWindow();
    ASSERT_TRUE(w) << "a colour outside sRGB opens the window";
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(RowOf(w, "oklch")->text(), Outside);
    EXPECT_EQ(RowOf(w, "css-hex")->text(), QStringLiteral("#ff5843"));
    EXPECT_EQ(w->Note()->text(), OutsideNote);
    EXPECT_TRUE(w->Note()->isVisibleTo(w));
    for (const char *fallback : {"css-hex", "css-rgb", "hsl", "hwb", "qt", "argb", "latex", "name"}) {
        EXPECT_TRUE(MarkOf(w, fallback)->isVisibleTo(w)) << fallback;
        EXPECT_TRUE(RowOf(w, fallback)->accessibleDescription().contains(QStringLiteral("sRGB fallback"))) << fallback;
    }
    for (const char *exact : {"oklch", "oklab", "lab", "p3", "srgb"}) {
        EXPECT_FALSE(MarkOf(w, exact)->isVisibleTo(w)) << exact;
        EXPECT_TRUE(RowOf(w, exact)->accessibleDescription().isEmpty()) << exact;
    }

    // Back inside sRGB by a command of the main window: marks and note go, and its texts are those
    // of any 8-bit colour.
    form->SetColor(0x00D1B598);
    EXPECT_EQ(NotationFields(), before);
    EXPECT_FALSE(w->Note()->isVisibleTo(w));
    EXPECT_FALSE(MarkOf(w, "css-hex")->isVisibleTo(w));
    EXPECT_TRUE(RowOf(w, "css-hex")->accessibleDescription().isEmpty());
    EXPECT_EQ(RowOf(w, "oklch")->text(), QStringLiteral("oklch(0.76 0.0514 248)"));

    // And out again, from the history.
    THistoryRow *history = w->History();
    ASSERT_GE(history->Shown(), 2);
    EXPECT_EQ(history->Cell(1)->accessibleName(), Outside);
    history->Cell(1)->click();
    EXPECT_EQ(RowOf(w, "oklch")->text(), Outside);
    EXPECT_TRUE(MarkOf(w, "css-hex")->isVisibleTo(w));
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("#FF5843"));
}

TEST_F(Form1Exact, AnEditedRowReadsOnReturnAndATextThatReadsNoColourBeepsAndStays)
{
    TNotationsWindow *w = Window();
    QLineEdit *p3 = RowOf(w, "p3");
    Enter(p3, QStringLiteral("color(display-p3 1 0 0)"));
    EXPECT_EQ(beeps, 0);
    EXPECT_EQ(p3->text(), QStringLiteral("color(display-p3 1 0 0)"));
    const TRgb8 fallback = form->Colour().Rgb8();
    EXPECT_EQ(form->fMyColor, RGB(fallback.R, fallback.G, fallback.B));
    EXPECT_EQ(form->Colour().Exact(), ReadExactColour(u"color(display-p3 1 0 0)")->Colour);
    EXPECT_TRUE(w->Note()->isVisibleTo(w));

    // Any notation in any row: the hex row takes an oklch text.
    QLineEdit *hex = RowOf(w, "css-hex");
    Enter(hex, Outside);
    EXPECT_EQ(RowOf(w, "oklch")->text(), Outside);
    EXPECT_EQ(hex->text(), QStringLiteral("#ff5843"));

    const TExactColour current = form->Colour().Exact();
    const QStringList fields = NotationFields();
    QLineEdit *lab = RowOf(w, "lab");
    Enter(lab, QStringLiteral("lab(50 20"));
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(lab->text(), QStringLiteral("lab(50 20")) << "kept for correction";
    EXPECT_EQ(form->Colour().Exact(), current);
    EXPECT_EQ(NotationFields(), fields);
    QTest::keyClicks(lab, QStringLiteral(" -30)"));
    QTest::keyClick(lab, Qt::Key_Return);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(lab->text(), QStringLiteral("lab(50 20 -30)"));
    EXPECT_EQ(form->Colour().Exact(), ReadExactColour(u"lab(50 20 -30)")->Colour);

    // A wrong text stays only until the colour next changes.
    Enter(lab, QStringLiteral("nonsense"));
    EXPECT_EQ(beeps, 2);
    form->SetColor(RGB(1, 2, 3));
    EXPECT_EQ(lab->text(), WriteNotation(TNotationKind::Lab, TExactColour::FromRgb8({1, 2, 3})).Text);
}

TEST_F(Form1Exact, ReturnOnARowAsWrittenCopiesAndEscapePutsAnEditBack)
{
    TNotationsWindow *w = Window();
    QLineEdit *oklch = RowOf(w, "oklch");
    oklch->setFocus();
    QTest::keyClick(oklch, Qt::Key_Return);
    EXPECT_EQ(Clipboard(), QStringLiteral("oklch(0.76 0.0514 248)"));
    QApplication::clipboard()->setText(QStringLiteral("untouched"));
    oklch->deselect();
    QTest::keyClick(oklch, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Clipboard(), QStringLiteral("oklch(0.76 0.0514 248)")) << "Ctrl+C without a selection copies the row";
    QTest::keyClicks(oklch, QStringLiteral("xyz"));
    QTest::keyClick(oklch, Qt::Key_Escape);
    EXPECT_EQ(oklch->text(), QStringLiteral("oklch(0.76 0.0514 248)"));
    QApplication::clipboard()->setText(QStringLiteral("untouched"));
    QTest::keyClick(oklch, Qt::Key_Return);
    EXPECT_EQ(Clipboard(), QStringLiteral("oklch(0.76 0.0514 248)")) << "copies again once put back";
    EXPECT_FALSE(oklch->isReadOnly());
    EXPECT_EQ(beeps, 0);
}

TEST_F(Form1Exact, TheAlphaRowChangesTheExactColourOnlyAndTheMainWindowKeepsItsTexts)
{
    TNotationsWindow *w = Window();
    QLineEdit *alpha = w->AlphaEdit();
    EXPECT_EQ(alpha->text(), QStringLiteral("1"));
    const QStringList fields = NotationFields();
    Enter(alpha, QStringLiteral("50%"));
    EXPECT_EQ(beeps, 0);
    EXPECT_EQ(alpha->text(), QStringLiteral("0.5"));
    EXPECT_DOUBLE_EQ(form->Colour().Exact().Alpha, 0.5);
    EXPECT_EQ(NotationFields(), fields) << "the main window has no alpha";
    EXPECT_TRUE(RowOf(w, "css-rgb")->text().endsWith(QStringLiteral(" / 0.5)"))) << RowOf(w, "css-rgb")->text().toStdString();
    EXPECT_EQ(RowOf(w, "css-hex")->text(), QStringLiteral("#98b5d180"));
    Enter(alpha, QStringLiteral("half"));
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(alpha->text(), QStringLiteral("half"));
    EXPECT_DOUBLE_EQ(form->Colour().Exact().Alpha, 0.5);
    Enter(alpha, QStringLiteral("1"));
    EXPECT_EQ(RowOf(w, "css-hex")->text(), QStringLiteral("#98b5d1"));
}

TEST_F(Form1Exact, ARestoreCommandReachesTheNotationsWindowAndTheHistory)
{
    TNotationsWindow *w = Window();
    Paste(Outside);
    form->PovEdit->setText(QStringLiteral("rgb <0.1, 0.2, 0.3>"));
    form->RestoreButtonClick();
    EXPECT_EQ(form->Colour().Exact(), TExactColour::FromRgb8(ShownRgb(form->fMyColor)));
    EXPECT_EQ(RowOf(w, "css-hex")->text(), WriteNotation(TNotationKind::CssHex, form->Colour().Exact()).Text);
    EXPECT_FALSE(w->Note()->isVisibleTo(w));
    EXPECT_EQ(form->Colour().History().Colours().front(), form->Colour().Exact());
}

TEST_F(Form1Exact, CopyAsAndTheCommandLineWriteTheExactColour)
{
    Paste(QStringLiteral("color(display-p3 1 0 0)"));
    QMenu *copyAs = form->CommandMenu->Menu()->findChild<QMenu *>(QStringLiteral("CopyAsMenu"));
    ASSERT_TRUE(copyAs);
    emit copyAs->aboutToShow();
    bool found = false;
    for (QAction *a : copyAs->actions())
        found = found || a->text().endsWith(QStringLiteral(": color(display-p3 1 0 0)"));
    EXPECT_TRUE(found);
}

class Form1ExactSettings : public Form1Restarts {
protected:
    QString Text() const { return QString::fromUtf8(IniBytes()); }
    void Paste(TForm1 &form, const QString &text)
    {
        QApplication::clipboard()->setText(text);
        form.PasteColorClick();
    }
    // Changes one key of the file as a hand edit would.
    void Edit(const QString &section, const QString &ident, const QString &value)
    {
        TRecordingMessageSink sink;
        TRegManager store(nullptr, sink);
        store.RegType = rtIni;
        store.IniFileName = ini;
        store.RegItems()->Add(QStringLiteral("x"), section, ident, QString());
        store.Filer(QStringLiteral("x"))->WriteString(value);
    }
};

TEST_F(Form1ExactSettings, AnEightBitUserKeepsEveryByte)
{
    auto form = Start();
    form->SetColor(RGB(1, 2, 3));
    form->RandomButton1Click();
    form->close();
    Start()->close(); // the colour dialog takes the colour at start, as it always has
    const QByteArray eightBit = IniBytes();
    EXPECT_FALSE(eightBit.contains("Exact"));
    EXPECT_FALSE(eightBit.contains("[Form\\Colour]"));
    EXPECT_TRUE(eightBit.contains("[Form\\History]\nColours=#"));
    form = Start();
    form->RepreButtonClick();
    form->SrgbSwitchClick();
    form->SrgbSwitchClick();
    form->close();
    EXPECT_EQ(IniBytes().toStdString(), eightBit.toStdString());
    EXPECT_TRUE(messages.Messages.empty());
}

TEST_F(Form1ExactSettings, TheExactColourIsKeptAcrossARestartInItsOwnKeyWithTheHistory)
{
    auto form = Start();
    Paste(*form, Outside);
    Paste(*form, QStringLiteral("#123456"));
    Paste(*form, QStringLiteral("color(display-p3 1 0 0)"));
    const TExactColour p3 = form->Colour().Exact();
    const QString history = form->Colour().History().Text();
    form->close();
    const QString text = Text();
    EXPECT_TRUE(text.contains(QStringLiteral("[Form\\Colour]\nExact=") + ExactColourText(p3) + QLatin1Char('\n'))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Colours=") + history)) << text.toStdString();
    EXPECT_TRUE(history.contains(QStringLiteral("#123456"))) << "8-bit colours stay #RRGGBB";

    form = Start();
    EXPECT_EQ(form->Colour().Exact(), p3);
    EXPECT_EQ(form->Colour().History().Text(), history);
    form->NotationsClick();
    EXPECT_EQ(form->NotationsWindow()->findChild<QLineEdit *>(QStringLiteral("Notation_p3"))->text(),
              QStringLiteral("color(display-p3 1 0 0)"));
    // Back to 8 bits: the key goes at the close.
    form->SetColor(RGB(9, 9, 9));
    form->close();
    EXPECT_FALSE(IniBytes().contains("Exact="));
    EXPECT_EQ(Start()->Colour().Exact(), TExactColour::FromRgb8({9, 9, 9}));
    EXPECT_TRUE(messages.Messages.empty());
}

TEST_F(Form1ExactSettings, EightBitsEditedByHandWinAndGarbageIsIgnoredThenRewritten)
{
    auto form = Start();
    Paste(*form, Outside);
    form->close();
    Edit(QStringLiteral("Form\\fMyColor"), QStringLiteral("Integer"), QStringLiteral("$00010203"));
    form = Start();
    EXPECT_EQ(form->fMyColor, RGB(3, 2, 1));
    EXPECT_EQ(form->Colour().Exact(), TExactColour::FromRgb8({3, 2, 1}));
    form->close();
    EXPECT_FALSE(IniBytes().contains("Exact="));

    for (const char *garbage : {"garbage", "oklch(0.7 0.25", "#FF5843", "\xff\xfe"}) {
        Edit(QStringLiteral("Form\\Colour"), QStringLiteral("Exact"), QString::fromLatin1(garbage));
        form = Start();
        EXPECT_EQ(form->Colour().Exact(), TExactColour::FromRgb8({3, 2, 1})) << garbage;
        form->close();
        EXPECT_FALSE(IniBytes().contains("Exact=")) << garbage;
        Edit(QStringLiteral("Form\\Colour"), QStringLiteral("Exact"), QString::fromLatin1(garbage));
        form = Start();
        Paste(*form, Outside);
        form->close();
        EXPECT_TRUE(Text().contains(QStringLiteral("Exact=") + ExactColourText(ReadExactColour(Outside)->Colour))) << garbage;
        Edit(QStringLiteral("Form\\fMyColor"), QStringLiteral("Integer"), QStringLiteral("$00010203"));
    }
    EXPECT_TRUE(messages.Messages.empty());
}

} // namespace
