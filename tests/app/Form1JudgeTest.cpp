#include "Form1Fixture.h"

#include "app/ColourState.h"
#include "app/CommandMenu.h"
#include "app/ContrastFixPanel.h"
#include "app/JudgeWindow.h"
#include "app/NotationsWindow.h"
#include "app/OklchAdjust.h"
#include "app/OklchSlider.h"
#include "app/VisionPanel.h"
#include "colour/Contrast.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

TExactColour Oklch(double l, double c, double h, double alpha = 1)
{
    TExactColour e;
    e.Space = TColourSpace::Oklch;
    e.Coords = {l, c, h};
    e.Alpha = alpha;
    return e;
}

class Form1Judge : public Form1Fixture {
protected:
    TJudgeWindow *Open(const TExactColour &start)
    {
        form->Colour().Take(start);
        for (QAction *a : form->CommandMenu->Commands())
            if (a->shortcut() == QKeySequence(QStringLiteral("Ctrl+Shift+I")))
                a->trigger();
        TJudgeWindow *w = form->JudgeWindow();
        EXPECT_TRUE(w && w->isVisible());
        return w;
    }
    TOklchSlider *Slider(TOklchAdjust::TQuantity q) const { return form->JudgeWindow()->Adjust()->Slider(q); }
    const TExactColour &Current() const { return form->Colour().Exact(); }
    const std::vector<TExactColour> &History() const { return form->Colour().History().Colours(); }
    void Keys(QWidget *w, Qt::Key key, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(w, key);
    }
};

TEST_F(Form1Judge, KeysStepEachQuantityAndTheHistoryTakesTheMoveWhenTheKeysPause)
{
    const TExactColour start = Oklch(0.6, 0.1, 200);
    Open(start);
    const std::size_t historyBefore = History().size();
    TOklchSlider *l = Slider(TOklchAdjust::Lightness);
    Keys(l, Qt::Key_Right);
    EXPECT_NEAR(Current().Coords[0], 0.61, 1e-12);
    Keys(l, Qt::Key_PageUp);
    EXPECT_NEAR(Current().Coords[0], 0.71, 1e-12);
    Keys(l, Qt::Key_Down, 2);
    EXPECT_NEAR(Current().Coords[0], 0.69, 1e-12);
    Keys(Slider(TOklchAdjust::Chroma), Qt::Key_Up);
    Keys(Slider(TOklchAdjust::Hue), Qt::Key_PageDown);
    EXPECT_EQ(Current().Space, TColourSpace::Oklch);
    EXPECT_NEAR(Current().Coords[1], 0.105, 1e-12);
    EXPECT_NEAR(Current().Coords[2], 190, 1e-9);
    // The main window shows every step's 8 bits at once; the history waits for the pause.
    const TRgb8 shown = ShownRgb(form->fMyColor);
    EXPECT_EQ(shown, Current().Rgb8());
    EXPECT_EQ(History().size(), historyBefore);
    QTest::qWait(TOklchAdjust::KeyPauseMs + 200);
    ASSERT_GE(History().size(), 2u);
    EXPECT_EQ(History()[0], Current());
    EXPECT_EQ(History()[1], start);
    EXPECT_EQ(History().size(), historyBefore + 1) << "one entry for the whole move";
}

TEST_F(Form1Judge, AMoveUnderWayAtTheCloseEntersTheHistory)
{
    const TExactColour start = Oklch(0.6, 0.1, 200);
    Open(start);
    Keys(Slider(TOklchAdjust::Lightness), Qt::Key_Up);
    form->close();
    ASSERT_GE(History().size(), 2u);
    EXPECT_EQ(History()[0], Current());
    EXPECT_EQ(History()[1], start);
}

TEST_F(Form1Judge, EndsStopTheStepsAndHueGoesRound)
{
    Open(Oklch(0.96, 0.02, 0.5));
    Keys(Slider(TOklchAdjust::Lightness), Qt::Key_PageUp);
    EXPECT_EQ(Current().Coords[0], 1);
    Keys(Slider(TOklchAdjust::Hue), Qt::Key_Left);
    EXPECT_NEAR(Current().Coords[2], 359.5, 1e-9);
    Keys(Slider(TOklchAdjust::Chroma), Qt::Key_PageDown);
    EXPECT_EQ(Current().Coords[1], 0);
    Keys(Slider(TOklchAdjust::Chroma), Qt::Key_Left);
    EXPECT_EQ(Current().Coords[1], 0);
}

TEST_F(Form1Judge, AlphaKeepsTheColoursOwnSpaceAndItsBytes)
{
    Open(TExactColour::FromRgb8({0x12, 0x34, 0x56}));
    const TColor before = form->fMyColor;
    Keys(Slider(TOklchAdjust::Alpha), Qt::Key_PageDown);
    EXPECT_EQ(Current().Space, TColourSpace::Srgb);
    EXPECT_NEAR(Current().Alpha, 0.9, 1e-12);
    EXPECT_EQ(Current().Rgb8(), (TRgb8{0x12, 0x34, 0x56}));
    EXPECT_EQ(form->fMyColor, before);
}

TEST_F(Form1Judge, MouseReleaseEndsTheMoveAtOnce)
{
    const TExactColour start = Oklch(0.5, 0.05, 120);
    Open(start);
    TOklchSlider *c = Slider(TOklchAdjust::Chroma);
    const int y = c->height() / 2;
    QTest::mousePress(c, Qt::LeftButton, {}, QPoint(c->width() / 3, y));
    QTest::mouseMove(c, QPoint(c->width() / 2, y));
    EXPECT_NE(History().front(), Current());
    QTest::mouseRelease(c, Qt::LeftButton, {}, QPoint(c->width() / 2, y));
    EXPECT_EQ(History().front(), Current());
    EXPECT_EQ(History()[1], start);
    EXPECT_NEAR(Current().Coords[1], 0.25, 0.01) << "the middle of 0-0.5";
}

TEST_F(Form1Judge, TextsThatReadNoNumberInRangeChangeNothing)
{
    const TExactColour start = Oklch(0.6, 0.1, 200);
    TJudgeWindow *w = Open(start);
    const std::vector<TExactColour> history = History();
    for (auto q : {TOklchAdjust::Lightness, TOklchAdjust::Chroma, TOklchAdjust::Hue, TOklchAdjust::Alpha}) {
        QDoubleSpinBox *spin = w->Adjust()->SpinBox(q);
        const double shown = spin->value();
        for (const char *text : {"abc", "nan", "1e999", "-5", "99999", "", "--", "0.5.5"}) {
            spin->selectAll();
            QTest::keyClicks(spin, QString::fromLatin1(text));
            QTest::keyClick(spin, Qt::Key_Return);
            spin->clearFocus();
            EXPECT_EQ(Current(), start) << text;
            EXPECT_EQ(spin->value(), shown) << text;
        }
    }
    EXPECT_EQ(History(), history);
    // A number in range is taken at once, as a move that is over.
    QDoubleSpinBox *l = w->Adjust()->SpinBox(TOklchAdjust::Lightness);
    l->selectAll();
    QTest::keyClicks(l, QLocale().toString(0.25, 'f', 2));
    QTest::keyClick(l, Qt::Key_Return);
    EXPECT_NEAR(Current().Coords[0], 0.25, 1e-12);
}

TEST_F(Form1Judge, ScreenReadersReadEachSliderWithItsValueAndCanSetIt)
{
    Open(Oklch(0.7, 0.3, 30));
    const char *names[] = {"Lightness", "Chroma", "Hue", "Alpha"};
    for (int q = 0; q < 4; ++q) {
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(Slider(static_cast<TOklchAdjust::TQuantity>(q)));
        ASSERT_TRUE(a);
        EXPECT_EQ(a->role(), QAccessible::Slider);
        EXPECT_EQ(a->text(QAccessible::Name), QString::fromLatin1(names[q]));
        ASSERT_TRUE(a->valueInterface());
    }
    QAccessibleInterface *chroma = QAccessible::queryAccessibleInterface(Slider(TOklchAdjust::Chroma));
    EXPECT_DOUBLE_EQ(chroma->valueInterface()->currentValue().toDouble(), 0.3);
    // oklch(0.7 0.3 30) lies outside sRGB, and the value says so.
    EXPECT_EQ(chroma->text(QAccessible::Value), QStringLiteral("0.3000, outside sRGB"));
    chroma->valueInterface()->setCurrentValue(0.1);
    EXPECT_NEAR(Current().Coords[1], 0.1, 1e-12);
    EXPECT_EQ(chroma->text(QAccessible::Value), QStringLiteral("0.1000"));
}

TEST_F(Form1Judge, TheNearestPassingColourBecomesCurrentInOneClick)
{
    TJudgeWindow *w = Open(TExactColour::FromRgb8({0x77, 0x77, 0x77}));
    TContrastFixPanel *fix = w->Fix();
    fix->SetTarget(TContrastTarget::WcagAa);
    ASSERT_TRUE(fix->UseButton()->isEnabled()) << fix->Result()->text().toStdString();
    EXPECT_TRUE(fix->Result()->text().startsWith(QStringLiteral("Nearest passing colour: ")));
    Click(fix->UseButton());
    EXPECT_GE(ContrastRatio(Current(), form->Colour().Comparison()), 4.5);
    EXPECT_EQ(History().front(), Current());
    EXPECT_EQ(form->fMyColor, RGB(Current().Rgb8().R, Current().Rgb8().G, Current().Rgb8().B));
    // The colour passes now: nothing more to take.
    EXPECT_FALSE(fix->UseButton()->isEnabled());
    EXPECT_TRUE(fix->Result()->text().contains(QStringLiteral("already")));
    // On a mid grey no lightness reaches AAA: said so.
    form->Colour().SetComparison(TExactColour::FromRgb8({0x80, 0x80, 0x80}));
    fix->SetTarget(TContrastTarget::WcagAaa);
    EXPECT_TRUE(fix->Result()->text().startsWith(QStringLiteral("No lightness passes"))) << fix->Result()->text().toStdString();
    EXPECT_FALSE(fix->UseButton()->isEnabled());
}

TEST(JudgeTexts, VisionRowsMarkAPairThatFailsOnlyWhenSimulated)
{
    const TExactColour grey = TExactColour::FromRgb8({0x77, 0x77, 0x77}), white = TExactColour::FromRgb8({255, 255, 255});
    bool marked = true;
    const QString plain = VisionFigures(QStringLiteral("Normal"), grey, white, TContrastTarget::WcagAaLarge, true, &marked);
    EXPECT_FALSE(marked) << plain.toStdString();
    const QString failing = VisionFigures(QStringLiteral("Protanopia"), grey, white, TContrastTarget::WcagAa, true, &marked);
    EXPECT_TRUE(marked);
    EXPECT_TRUE(failing.contains(QStringLiteral("FAILS here"))) << failing.toStdString();
    VisionFigures(QStringLiteral("Protanopia"), grey, white, TContrastTarget::WcagAa, false, &marked);
    EXPECT_FALSE(marked) << "a pair that fails for normal vision too is not singled out";
}

} // namespace
