#include "framework/Colors.h"
#include "framework/Fonts.h"
#include "widgets/LCBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>

#include <string>
#include <vector>

namespace {

const QRgb Black = qRgb(0, 0, 0);
const QRgb White = qRgb(255, 255, 255);
const QColor Face(0xE6, 0xEE, 0xEC);

struct Box {
    QWidget parent;
    TLozengeCheckBox *box;
    int clicks = 0;
    explicit Box(int height, int width = 77)
    {
        QPalette pal = parent.palette();
        pal.setColor(QPalette::Window, Face);
        parent.setPalette(pal);
        parent.resize(200, 60);
        box = new TLozengeCheckBox(&parent);
        box->setGeometry(0, 0, width, height);
        box->setFont(DefaultWindowFont());
        box->SetCaption(QStringLiteral("pigment"));
        box->OnClick = [this] {
            ++clicks;
            EXPECT_TRUE(box->Checked() != wasChecked);
        };
        parent.show();
        parent.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&parent));
    }
    bool wasChecked = false;
    QImage Render()
    {
        QImage img(box->size(), QImage::Format_RGB32);
        img.fill(Qt::magenta);
        box->render(&img);
        return img;
    }
};

} // namespace

TEST(Lozenge, CentreRoundsHalfToEven)
{
    EXPECT_EQ(LozengeCentre(30), 15);
    EXPECT_EQ(LozengeCentre(29), 14);
    EXPECT_EQ(LozengeCentre(31), 16);
    EXPECT_EQ(LozengeCentre(16), 8);
}

class LozengeHeights : public testing::TestWithParam<int> {};

TEST_P(LozengeHeights, BevelShowsTheState)
{
    Box b(GetParam());
    const int c = LozengeCentre(GetParam());
    QImage img = b.Render();
    // Raised: top vertex and the two upper edges light, the lower edges dark.
    EXPECT_EQ(img.pixel(11, c - 7), White);
    EXPECT_EQ(img.pixel(8, c - 4), White);   // on T-L
    EXPECT_EQ(img.pixel(14, c - 4), White);  // on T-R
    EXPECT_EQ(img.pixel(4, c), Black);       // left vertex stays dark (line end excluded)
    EXPECT_EQ(img.pixel(18, c), Black);
    EXPECT_EQ(img.pixel(11, c + 7), Black);
    EXPECT_EQ(img.pixel(8, c + 4), Black);
    EXPECT_EQ(img.pixel(11, c), Face.rgb()); // inside
    EXPECT_EQ(img.pixel(11, c - 8 >= 0 ? c - 8 : 0) == White, c - 8 < 0);

    b.box->SetChecked(true);
    img = b.Render();
    // Sunken: the lower edges light, the upper ones dark.
    EXPECT_EQ(img.pixel(18, c), White);
    EXPECT_EQ(img.pixel(11, c + 7), White);
    EXPECT_EQ(img.pixel(14, c + 4), White);
    EXPECT_EQ(img.pixel(8, c + 4), White);
    EXPECT_EQ(img.pixel(4, c), Black);
    EXPECT_EQ(img.pixel(11, c - 7), Black);
    EXPECT_EQ(img.pixel(8, c - 4), Black);
}

INSTANTIATE_TEST_SUITE_P(Heights, LozengeHeights, testing::Values(16, 29, 30, 31));

TEST(Lozenge, HeightSixteenSpansRowsOneToFifteen)
{
    Box b(16);
    const QImage img = b.Render();
    for (int x = 0; x < 22; ++x) {
        EXPECT_EQ(img.pixel(x, 0), Face.rgb()) << x;
    }
    EXPECT_NE(img.pixel(11, 1), Face.rgb());
    EXPECT_NE(img.pixel(11, 15), Face.rgb());
}

TEST(Lozenge, CaptionStartsAtColumnTwentyTwoAndEmbossedAtTwentyThreeWhenDisabled)
{
    Box b(30, 170);
    b.box->clearFocus();
    auto firstInkColumn = [](const QImage &img, QRgb background) {
        for (int x = 19; x < img.width(); ++x)
            for (int y = 0; y < img.height(); ++y)
                if (img.pixel(x, y) != background)
                    return x;
        return -1;
    };
    const QImage enabled = b.Render();
    const int enabledInk = firstInkColumn(enabled, Face.rgb());
    EXPECT_GE(enabledInk, 22);
    EXPECT_LE(enabledInk, 24);

    b.box->SetEnabled(false);
    const QImage disabled = b.Render();
    EXPECT_EQ(firstInkColumn(disabled, Face.rgb()), enabledInk + 1);
    // Two colours of the emboss: the highlight shifted right and down under the shadow.
    bool shadow = false, highlight = false;
    for (int x = 22; x < 80; ++x)
        for (int y = 0; y < 30; ++y) {
            shadow |= disabled.pixel(x, y) == ToQColor(clBtnShadow).rgb();
            highlight |= disabled.pixel(x, y) == ToQColor(clBtnHighlight).rgb();
        }
    EXPECT_TRUE(shadow);
    EXPECT_TRUE(highlight);
}

TEST(Lozenge, FocusRectangleEndsAtTheBoxEdge)
{
    Box b(16, 40); // caption wider than the box
    QTest::mouseClick(b.box, Qt::LeftButton, {}, QPoint(5, 8));
    ASSERT_TRUE(b.box->hasFocus());
    const QImage img = b.Render();
    const int top = 8 - QFontMetrics(b.box->font()).height() / 2;
    bool dotOnLeft = false;
    for (int y = std::max(top, 0); y < 16; ++y)
        dotOnLeft |= img.pixel(21, y) != Face.rgb();
    EXPECT_TRUE(dotOnLeft);
    b.box->clearFocus();
    const QImage unfocused = b.Render();
    bool anyLeft = false;
    for (int y = 0; y < 16; ++y)
        anyLeft |= unfocused.pixel(21, y) != Face.rgb();
    EXPECT_FALSE(anyLeft);
}

TEST(Lozenge, ClickTogglesFocusesAndFiresOnceWithTheNewState)
{
    Box b(16);
    QTest::mouseClick(b.box, Qt::LeftButton, {}, QPoint(30, 8));
    EXPECT_TRUE(b.box->Checked());
    EXPECT_TRUE(b.box->hasFocus());
    EXPECT_EQ(b.clicks, 1);
    b.wasChecked = true;
    QTest::mouseClick(b.box, Qt::LeftButton, {}, QPoint(30, 8));
    EXPECT_FALSE(b.box->Checked());
    EXPECT_EQ(b.clicks, 2);
    QTest::mouseClick(b.box, Qt::RightButton, {}, QPoint(30, 8));
    EXPECT_EQ(b.clicks, 2);
}

TEST(Lozenge, SpaceKeyAndSilentSetterDoNotClick)
{
    Box b(16);
    b.box->setFocus();
    QTest::keyClick(b.box, Qt::Key_Space);
    EXPECT_FALSE(b.box->Checked());
    b.box->SetChecked(true);
    EXPECT_TRUE(b.box->Checked());
    EXPECT_EQ(b.clicks, 0);
}

TEST(Lozenge, DisabledBoxIgnoresClicks)
{
    Box b(16);
    b.box->SetEnabled(false);
    QTest::mouseClick(b.box, Qt::LeftButton, {}, QPoint(30, 8));
    EXPECT_FALSE(b.box->Checked());
    EXPECT_EQ(b.clicks, 0);
}

namespace {

void Send(QWidget *w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint p,
          Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QMouseEvent e(type, p, w->mapToGlobal(p), button, held, mods);
    QApplication::sendEvent(w, &e);
}

// Every event of the box, in the order it fires, with what it carries.
struct Recorder {
    std::vector<std::string> events;
    explicit Recorder(TLozengeCheckBox *box)
    {
        auto mouse = [this](const char *name) {
            return [this, name](TLozengeCheckBox *, Qt::MouseButton b, TShiftState s, int x, int y) {
                events.push_back(std::string(name) + " " + std::to_string(b) + " " + std::to_string(s) + " "
                                 + std::to_string(x) + "," + std::to_string(y));
            };
        };
        box->OnClick = [this, box] { events.push_back(box->Checked() ? "click checked" : "click unchecked"); };
        box->OnDblClick = [this, box] { events.push_back(box->Checked() ? "dbl checked" : "dbl unchecked"); };
        box->OnMouseDown = mouse("down");
        box->OnMouseUp = mouse("up");
        box->OnMouseMove = [this](TLozengeCheckBox *, TShiftState s, int x, int y) {
            events.push_back("move " + std::to_string(s) + " " + std::to_string(x) + "," + std::to_string(y));
        };
        box->OnkeyDown = [this](TLozengeCheckBox *, int &key, TShiftState s) {
            events.push_back("keydown " + std::to_string(key) + " " + std::to_string(s));
        };
        box->OnkeyPress = [this](TLozengeCheckBox *, QChar &key) { events.push_back("keypress " + QString(key).toStdString()); };
        box->OnkeyUp = [this](TLozengeCheckBox *, int &key, TShiftState s) {
            events.push_back("keyup " + std::to_string(key) + " " + std::to_string(s));
        };
    }
};

// A parent that counts the keys that reach it.
struct KeyParent : QWidget {
    int keys = 0;
    void keyPressEvent(QKeyEvent *) override { ++keys; }
};

} // namespace

// A double click arrives as press, release, double-click press, release: the first release
// toggles and clicks, the second press fires OnDblClick with the state already toggled once.
TEST(LozengeEvents, DoubleClickTogglesOnceAndThenFiresDblClick)
{
    Box b(16);
    Recorder r(b.box);
    const QPoint p(30, 8);
    Send(b.box, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, p);
    Send(b.box, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, p);
    Send(b.box, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, p);
    Send(b.box, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, p);
    EXPECT_TRUE(b.box->Checked());
    const std::vector<std::string> want = {"down 1 8 30,8", "click checked", "up 1 0 30,8", "dbl checked",
                                           "down 1 72 30,8", "up 1 0 30,8"};
    EXPECT_EQ(r.events, want);
}

TEST(LozengeEvents, MouseEventsCarryButtonShiftAndPosition)
{
    Box b(16);
    Recorder r(b.box);
    Send(b.box, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, QPoint(3, 4));
    Send(b.box, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, QPoint(40, 5), Qt::ShiftModifier);
    Send(b.box, QEvent::MouseMove, Qt::NoButton, Qt::RightButton, QPoint(41, 6), Qt::ShiftModifier);
    Send(b.box, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, QPoint(41, 6));
    // A right double click is no double click of the box.
    Send(b.box, QEvent::MouseButtonDblClick, Qt::RightButton, Qt::RightButton, QPoint(41, 6));
    const std::vector<std::string> want = {"move 0 3,4", "down 2 17 40,5", "move 17 41,6", "up 2 0 41,6",
                                           "down 2 80 41,6"};
    EXPECT_EQ(r.events, want);
    EXPECT_FALSE(b.box->Checked());
}

TEST(LozengeEvents, KeysReachOnlyTheHandlers)
{
    KeyParent parent;
    parent.resize(200, 60);
    auto *box = new TLozengeCheckBox(&parent);
    box->setGeometry(0, 0, 77, 16);
    parent.show();
    box->setFocus();
    Recorder r(box);
    QTest::keyClick(box, Qt::Key_Space);
    QTest::keyClick(box, Qt::Key_A, Qt::ShiftModifier);
    EXPECT_FALSE(box->Checked());
    const std::string shift = std::to_string(Qt::Key_Shift);
    const std::vector<std::string> want = {"keydown 32 0",         "keypress  ",   "keyup 32 0", "keydown " + shift + " 0",
                                           "keydown 65 1",         "keypress a",   "keyup 65 1", "keyup " + shift + " 1"};
    EXPECT_EQ(r.events, want);
    EXPECT_EQ(parent.keys, 3); // unhandled keys go on to the parent
    // A handler that takes the key keeps it from the parent.
    box->OnkeyDown = [](TLozengeCheckBox *, int &key, TShiftState) { key = 0; };
    QTest::keyClick(box, Qt::Key_B);
    EXPECT_EQ(parent.keys, 3);
}
