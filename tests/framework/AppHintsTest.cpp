#include "framework/AppHints.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include <memory>

namespace {

// A window with two controls that have tool tips and one that has none.
struct Hints {
    TApplicationHints app{false};
    QWidget form;
    QWidget *a, *b, *plain;
    QPoint mouse{100, 100};
    int hintChanges = 0;

    Hints()
    {
        form.setGeometry(50, 50, 300, 200);
        a = new QWidget(&form);
        a->setGeometry(10, 10, 50, 20);
        a->setToolTip(QStringLiteral("first"));
        b = new QWidget(&form);
        b->setGeometry(60, 10, 50, 20);
        b->setToolTip(QStringLiteral("second"));
        plain = new QWidget(&form);
        plain->setGeometry(10, 50, 50, 20);
        form.show();
        app.CursorPos = [this] { return mouse; };
        app.OnHint = [this](TApplicationHints *) { ++hintChanges; };
    }
    // Mouse over a control, its pause elapsed.
    void Show(QWidget *control)
    {
        app.HintMouseMessage(control);
        app.HintTimerTick();
    }
};

TEST(HintMachinery, RestingOnAControlForThePauseShowsTheHintBelowThePointer)
{
    Hints h;
    h.app.SetHintPause(500);
    h.app.SetHintHidePause(2500);
    h.app.HintMouseMessage(h.a);
    EXPECT_EQ(h.app.HintTimer().interval(), 500);
    EXPECT_FALSE(h.app.HintWindow()->isVisible());
    EXPECT_EQ(h.app.Hint(), QStringLiteral("first"));
    EXPECT_EQ(h.hintChanges, 1);
    h.app.HintTimerTick();
    THintWindow *w = h.app.HintWindow();
    ASSERT_TRUE(w->isVisible());
    EXPECT_EQ(w->Caption(), QStringLiteral("first"));
    const QRect text = w->CalcHintRect(HintDesktopRect().width(), QStringLiteral("first"));
    EXPECT_EQ(w->geometry(), QRect(h.mouse + QPoint(0, PointerDrop(h.a->cursor())), text.size() + QSize(0, 4)));
    EXPECT_EQ(h.app.HideTimer().interval(), 2500);
}

TEST(HintMachinery, AMegabyteHintShowsItsStartWithinTheDesktop)
{
    Hints h;
    for (const QString &hint : {QString(1 << 20, QLatin1Char('u')), QString(1 << 20, QChar(0x3042)),
                                QStringLiteral("\\u3042").repeated(1 << 18)}) {
        h.a->setToolTip(hint);
        h.Show(h.a);
        THintWindow *w = h.app.HintWindow();
        ASSERT_TRUE(w->isVisible());
        EXPECT_EQ(w->Caption(), hint.left(MaxHintLength) + QChar(0x2026));
        EXPECT_LE(w->width(), HintDesktopRect().width());
        EXPECT_LE(w->height(), HintDesktopRect().height());
        h.app.CancelHint();
    }
    // A surrogate pair at the cut stays whole or goes whole.
    const QString pairs = QString::fromUtf16(u"\U0001F600").repeated(MaxHintLength);
    EXPECT_EQ(ShownHint(pairs).size(), MaxHintLength + 1);
    const QString shifted = ShownHint(QLatin1Char('x') + pairs);
    EXPECT_FALSE(shifted.at(shifted.size() - 2).isHighSurrogate());
    EXPECT_EQ(ShownHint(QStringLiteral("short")), QStringLiteral("short"));
}

TEST(HintMachinery, HidePauseEndsTheHintUntilTheMouseMovesOn)
{
    Hints h;
    h.Show(h.a);
    h.app.HideTimerTick();
    EXPECT_FALSE(h.app.HintWindow()->isVisible());
    h.app.HintMouseMessage(h.a);
    EXPECT_FALSE(h.app.HintTimer().isActive());
}

TEST(HintMachinery, MovingToAnotherControlWhileAHintShowsUsesTheShortPause)
{
    Hints h;
    h.app.SetHintPause(500);
    h.app.SetHintShortPause(0);
    h.Show(h.a);
    h.app.HintMouseMessage(h.b);
    EXPECT_EQ(h.app.HintTimer().interval(), 0);
    h.app.HintTimerTick();
    EXPECT_EQ(h.app.HintWindow()->Caption(), QStringLiteral("second"));
}

TEST(HintMachinery, ControlWithoutToolTipCancelsTheHint)
{
    Hints h;
    h.Show(h.a);
    h.app.HintMouseMessage(h.plain);
    EXPECT_FALSE(h.app.HintWindow()->isVisible());
    EXPECT_FALSE(h.app.HintTimer().isActive());
    EXPECT_TRUE(h.app.Hint().isEmpty());
    // A child without a tool tip shows its parent's.
    EXPECT_EQ(TApplicationHints::HintControlOf(new QWidget(h.a)), h.a);
    // Coming back is a fresh hint with the full pause.
    h.app.SetHintPause(500);
    h.app.HintMouseMessage(h.b);
    EXPECT_EQ(h.app.HintTimer().interval(), 500);
}

TEST(HintMachinery, ShowHintEventChangesTheTextOrVetoesTheHint)
{
    Hints h;
    int maxWidth = 0;
    h.app.OnShowHint = [&](QString &text, bool &canShow, THintInfo &info) {
        maxWidth = info.HintMaxWidth;
        text = QStringLiteral("changed");
        canShow = info.HintControl != h.b;
    };
    h.Show(h.a);
    EXPECT_EQ(maxWidth, HintDesktopRect().width());
    EXPECT_EQ(h.app.HintWindow()->Caption(), QStringLiteral("changed"));
    h.app.CancelHint();
    h.Show(h.b);
    EXPECT_FALSE(h.app.HintWindow()->isVisible());
}

TEST(HintMachinery, SwitchingHintsOffAndOnCreatesAWindowOfTheCurrentClass)
{
    struct TMarked : THintWindow {};
    Hints h;
    h.Show(h.a);
    h.app.SetHintWindowClass([] { return new TMarked; });
    EXPECT_EQ(dynamic_cast<TMarked *>(h.app.HintWindow()), nullptr);
    h.app.SetShowHint(false);
    EXPECT_EQ(h.app.HintWindow(), nullptr);
    EXPECT_EQ(h.app.HintControl(), nullptr);
    h.app.SetShowHint(true);
    EXPECT_NE(dynamic_cast<TMarked *>(h.app.HintWindow()), nullptr);
    EXPECT_FALSE(h.app.HintWindow()->isVisible());
}

TEST(HintMachinery, ControlDestroyedDuringThePauseShowsNothing)
{
    Hints h;
    h.app.HintMouseMessage(h.a);
    delete h.a;
    h.app.HintTimerTick();
    EXPECT_FALSE(h.app.HintWindow()->isVisible());
}

TEST(HintMachinery, EnterAndLeaveBurstEndsOnTheLastControlEntered)
{
    TApplicationHints app(true);
    QWidget form;
    form.setGeometry(50, 50, 300, 200);
    auto *a = new QWidget(&form);
    a->setToolTip(QStringLiteral("a"));
    auto *b = new QWidget(&form);
    b->setToolTip(QStringLiteral("b"));
    form.show();
    app.SetHintShortPause(0);
    app.HintMouseMessage(a);
    app.ActivateHint(QPoint(60, 60));
    ASSERT_TRUE(app.HintActive());
    // From a straight to b: the leave of a must not cancel the hint on its way.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(a, &leave);
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(61, 61));
    QApplication::sendEvent(b, &enter);
    QCoreApplication::processEvents();
    EXPECT_EQ(app.HintControl(), b);
    EXPECT_EQ(app.HintTimer().interval(), 0);
}

TEST(HintMachinery, ToolkitToolTipsNeverShowAndClicksCancel)
{
    TApplicationHints app(true);
    QWidget form;
    auto *a = new QWidget(&form);
    a->setGeometry(0, 0, 40, 20);
    a->setToolTip(QStringLiteral("a"));
    form.show();
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), form.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(a, &help);
    EXPECT_FALSE(QToolTip::isVisible());

    app.HintMouseMessage(a);
    app.ActivateHint(form.mapToGlobal(QPoint(5, 5)));
    ASSERT_TRUE(app.HintWindow()->isVisible());
    QTest::mouseClick(a, Qt::LeftButton);
    EXPECT_FALSE(app.HintWindow()->isVisible());
    EXPECT_EQ(app.HintControl(), nullptr);
}

struct DesktopCase {
    QRect rect;
    QRect expected;
};

class KeepOnDesktop : public testing::TestWithParam<DesktopCase> {};

TEST_P(KeepOnDesktop, MovesTheHintAsAWhole)
{
    EXPECT_EQ(KeepHintOnDesktop(GetParam().rect, QRect(0, 0, 800, 600)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Edges, KeepOnDesktop,
                         testing::Values(DesktopCase{{100, 100, 50, 20}, {100, 100, 50, 20}},
                                         DesktopCase{{780, 100, 50, 20}, {750, 100, 50, 20}},
                                         DesktopCase{{100, 590, 50, 20}, {100, 580, 50, 20}},
                                         DesktopCase{{790, 595, 50, 20}, {750, 580, 50, 20}},
                                         DesktopCase{{-10, 100, 50, 20}, {0, 100, 50, 20}},
                                         // Wider than the desktop: the left edge wins.
                                         DesktopCase{{100, 100, 900, 20}, {0, 100, 900, 20}}));

} // namespace
