#include "widgets/ShineSpdBtn.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QMouseEvent>
#include <QTest>

#include <string>

namespace {

// Opens the protected input operations to the tests.
struct Button : TShineSpeedButton {
    using TShineSpeedButton::TShineSpeedButton;
    using TShineSpeedButton::HoverTimerTick;
    using TShineSpeedButton::MouseDown;
    using TShineSpeedButton::MouseEnter;
    using TShineSpeedButton::MouseLeave;
    using TShineSpeedButton::MouseMove;
    using TShineSpeedButton::MouseUp;
};

struct Window {
    QWidget parent;
    Button *a;
    Button *b;
    std::string log;
    Window()
    {
        parent.resize(300, 100);
        a = Make(10, "a");
        b = Make(100, "b");
        // The window appears away from the cursor, so no enter notification is pending.
        parent.move(200, 200);
        QCursor::setPos(QPoint(5, 5));
        parent.show();
        parent.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&parent));
        Park();
        QCoreApplication::processEvents();
        log.clear();
    }
    Button *Make(int left, const char *name)
    {
        auto *btn = new Button(&parent);
        btn->setGeometry(left, 10, 75, 23);
        btn->SetCaption(QStringLiteral("&restore"));
        btn->OnClick = [this, name] { log += std::string("click ") + name + ";"; };
        btn->OnDblClick = [this, name] { log += std::string("dbl ") + name + ";"; };
        btn->OnMouseDown = [this](TShineSpeedButton *, Qt::MouseButton, TShiftState s, int, int) {
            log += (s & ssDouble) ? "down2;" : "down;";
        };
        btn->OnMouseUp = [this](TShineSpeedButton *, Qt::MouseButton, TShiftState, int, int) { log += "up;"; };
        btn->OnMouseEnter = [this](TShineSpeedButton *, TShiftState, int, int) { log += "enter;"; };
        return btn;
    }
    // The cursor well away from every button.
    void Park() { QCursor::setPos(parent.mapToGlobal(QPoint(250, 90))); }
    // The cursor over a button, with the enter notification that brings already delivered.
    void Over(QWidget *w, QPoint p = {5, 5})
    {
        QCursor::setPos(w->mapToGlobal(p));
        QCoreApplication::processEvents();
        log.clear();
    }
    void Send(QWidget *w, QEvent::Type type, Qt::MouseButtons held)
    {
        const QPointF p(5, 5);
        QMouseEvent e(type, p, w->mapToGlobal(p), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
};

} // namespace

TEST(ShineState, ConstructedWithTheDefaults)
{
    TShineSpeedButton b;
    EXPECT_EQ(b.State(), sbUp);
    EXPECT_EQ(b.size(), QSize(25, 25));
    EXPECT_EQ(b.focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(b.HoverInterval(), 200);
    EXPECT_FALSE(b.HoverPolling());
    EXPECT_EQ(b.ActiveColors().Color(), clHighlightText);
    EXPECT_EQ(b.ActiveColors().GradColor(), clBlue);
    EXPECT_EQ(b.PressedColors().Color(), clBtnHighlight);
    EXPECT_EQ(b.ActiveFont().Color(), clHighlight);
}

TEST(ShineState, ColourSetsNotifyOnChangeAndAlwaysOnAssign)
{
    TShineBtnColors a, b;
    int changes = 0;
    b.OnChange = [&](TShineBtnColors *sender) {
        EXPECT_EQ(sender, &b);
        ++changes;
    };
    b.SetColor(clBtnFace); // equal to the default
    EXPECT_EQ(changes, 0);
    b.SetGradation(true);
    EXPECT_EQ(changes, 1);
    a.SetGradation(true);
    b.Assign(a); // identical values still notify
    EXPECT_EQ(changes, 2);
    a.SetColor(clRed);
    a.AssignTo(b);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(b.Color(), clRed);
}

TEST(ShineState, PressAndReleaseOnTheFirstColumnIsAClick)
{
    Window w;
    w.Over(w.a, {0, 5});
    QTest::mousePress(w.a, Qt::LeftButton, {}, QPoint(0, 5));
    EXPECT_EQ(w.a->State(), sbHotDown);
    EXPECT_TRUE(w.a->MouseHeld());
    w.a->MouseMove(ssLeft, 0, 5); // the first column counts as outside while held
    EXPECT_EQ(w.a->State(), sbUp);
    w.a->MouseMove(ssLeft, 1, 5);
    EXPECT_EQ(w.a->State(), sbHotDown);
    QTest::mouseRelease(w.a, Qt::LeftButton, {}, QPoint(0, 5));
    EXPECT_EQ(w.log, "down;up;click a;enter;");
    EXPECT_FALSE(w.a->MouseHeld());
}

TEST(ShineState, ReleaseOutsideAnUngroupedButtonDoesNotClick)
{
    Window w;
    w.a->MouseDown(Qt::LeftButton, ssLeft, 5, 5);
    w.a->MouseUp(Qt::LeftButton, 0, 80, 5);
    EXPECT_EQ(w.log, "down;up;");
    EXPECT_EQ(w.a->State(), sbUp);
    EXPECT_FALSE(w.a->Down());
}

TEST(ShineState, DoubleClickEventOrder)
{
    Window w;
    w.Over(w.a);
    // The sequence the platform delivers for a double click.
    w.Send(w.a, QEvent::MouseButtonPress, Qt::LeftButton);
    w.Send(w.a, QEvent::MouseButtonRelease, Qt::NoButton);
    w.Send(w.a, QEvent::MouseButtonDblClick, Qt::LeftButton);
    w.Send(w.a, QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_EQ(w.log, "down;up;click a;enter;down2;dbl a;up;click a;enter;");
}

TEST(ShineState, ExclusiveGroupLatchesAndReleasesOthers)
{
    Window w;
    w.a->SetDown(true); // outside a group a button never latches
    EXPECT_FALSE(w.a->Down());
    w.a->SetGroupIndex(1);
    w.b->SetGroupIndex(1);
    w.a->MouseDown(Qt::LeftButton, ssLeft, 5, 5);
    w.a->MouseUp(Qt::LeftButton, 0, 5, 5);
    EXPECT_TRUE(w.a->Down());
    EXPECT_EQ(w.a->State(), sbDown); // the cursor is parked elsewhere
    // Clicking the latched member keeps it latched and still clicks.
    w.a->MouseDown(Qt::LeftButton, ssLeft, 5, 5);
    w.a->MouseUp(Qt::LeftButton, 0, 5, 5);
    EXPECT_TRUE(w.a->Down());
    EXPECT_EQ(w.log, "down;up;click a;down;up;click a;");
    w.a->SetDown(false);
    EXPECT_TRUE(w.a->Down());

    w.b->SetDown(true);
    EXPECT_TRUE(w.b->Down());
    EXPECT_EQ(w.b->State(), sbDown);
    EXPECT_FALSE(w.a->Down());
    EXPECT_EQ(w.a->State(), sbUp);

    // With AllowAllUp, which travels to every member, the latch can be let go.
    w.a->SetAllowAllUp(true);
    EXPECT_TRUE(w.b->AllowAllUp());
    w.b->SetDown(false);
    EXPECT_FALSE(w.b->Down());
    EXPECT_EQ(w.b->State(), sbUp);
}

TEST(ShineState, DisablingClearsTheLatchAndReenablingShowsUp)
{
    Window w;
    w.a->SetGroupIndex(1);
    w.a->SetDown(true);
    w.a->setEnabled(false);
    EXPECT_FALSE(w.a->Down());
    EXPECT_EQ(w.a->State(), sbDisabled);
    w.a->setEnabled(true);
    EXPECT_EQ(w.a->State(), sbUp);
}

TEST(ShineState, HoverPollEndsTheHoverOnceTheCursorIsOutside)
{
    Window w;
    w.Over(w.a);
    w.a->MouseEnter(0, 5, 5);
    ASSERT_EQ(w.a->State(), sbHot);
    EXPECT_TRUE(w.a->HoverPolling());
    w.a->HoverTimerTick(); // the cursor is still inside
    EXPECT_EQ(w.a->State(), sbHot);
    w.Park();
    w.a->HoverTimerTick();
    EXPECT_EQ(w.a->State(), sbUp);
    EXPECT_FALSE(w.a->MouseInside());
    EXPECT_FALSE(w.a->HoverPolling());
}

TEST(ShineState, NoHoverWhileAnotherControlHoldsTheMouse)
{
    Window w;
    QTest::mousePress(w.b, Qt::LeftButton, {}, QPoint(5, 5));
    w.log.clear();
    w.a->MouseEnter(ssLeft, 5, 5);
    EXPECT_EQ(w.log, "enter;");
    EXPECT_EQ(w.a->State(), sbUp);
    EXPECT_FALSE(w.a->MouseInside());
    QTest::mouseRelease(w.b, Qt::LeftButton, {}, QPoint(200, 5));
}

TEST(ShineState, ClickDownHookShowsThePressedLookDuringTheHandler)
{
    Window w;
    w.a->SetClickDownHook(true);
    TShineButtonState during = sbUp;
    w.a->OnClick = [&] { during = w.a->State(); };
    w.a->Click();
    EXPECT_EQ(during, sbHotDown);
    EXPECT_EQ(w.a->State(), sbUp);
}

TEST(ShineState, AcceleratorClicksAndTogglesWhenAsked)
{
    Window w;
    EXPECT_TRUE(w.a->DialogChar(QLatin1Char('R')));
    EXPECT_EQ(w.log, "click a;");
    EXPECT_FALSE(w.a->DialogChar(QLatin1Char('x')));

    w.a->SetGroupIndex(3);
    w.a->SetAllowAllUp(true);
    w.a->SetAccelCharDown(true);
    w.a->OnClick = [&] { EXPECT_TRUE(w.a->Down()); };
    w.a->DialogChar(QLatin1Char('r'));
    w.a->OnClick = nullptr;
    w.a->DialogChar(QLatin1Char('r'));
    EXPECT_FALSE(w.a->Down());

    w.log.clear();
    w.a->OnClick = [&] { w.log += "click;"; };
    w.a->SetShowAccelChar(false);
    EXPECT_FALSE(w.a->DialogChar(QLatin1Char('r')));
    w.a->SetShowAccelChar(true);
    w.a->setEnabled(false);
    EXPECT_FALSE(w.a->DialogChar(QLatin1Char('r')));
    EXPECT_EQ(w.log, "");
}

TEST(ShineState, AltKeyReachesTheAccelerator)
{
    Window w;
    w.b->SetCaption(QStringLiteral("E&xit"));
    QTest::keyClick(&w.parent, Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(w.log, "click b;");
}

TEST(ShineState, ClickHandlerMayDeleteTheButton)
{
    Window w;
    w.a->OnClick = [&] { delete w.a; };
    w.Over(w.a);
    QTest::mouseClick(w.a, Qt::LeftButton, {}, QPoint(5, 5));
    SUCCEED();
}
