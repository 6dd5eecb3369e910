// The main window's eyedropper with an averaged square, its size kept between runs, and the
// colour a wide-gamut monitor shows kept exactly.
#include "Form1Fixture.h"

#include "../TestProfiles.h"
#include "app/ColourState.h"

namespace {

// The main window over a screen of black and white device pixels, white where x + y is even.
class Form1PickAverage : public Form1Fixture {
protected:
    void AdjustEnv(TForm1Env &env) override
    {
        env.ScreenPick.Path = TPickPath::ScreenGrab;
        env.ScreenPick.Screen.Grab = [this](int, const QRect &area) {
            QImage image(area.size(), QImage::Format_RGB32);
            for (int y = 0; y < area.height(); ++y)
                for (int x = 0; x < area.width(); ++x)
                    image.setPixel(x, y, (area.x() + x + area.y() + y) % 2 == 0 ? white : qRgb(0, 0, 0));
            return image;
        };
        env.ScreenPick.Screen.Pointer = [](QPointF) { return TDevicePos{0, QPoint(100, 100)}; };
        env.ScreenPick.Screen.Monitors = [](int) { return QList<QRect>{QRect(0, 0, 640, 480)}; };
        if (profile)
            env.ScreenPick.Profiles = [this](int, int) { return TDisplayProfile::FromBytes(*profile); };
    }
    void SetUp() override
    {
        Form1Fixture::SetUp();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->PovEdit->setFocus();
    }
    TPickOverlay *PressPick()
    {
        QTest::keyClick(form->PovEdit, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
        return form->ScreenPicker().Overlay();
    }

    QRgb white = qRgb(255, 255, 255);
    std::optional<QByteArray> profile;
};

class Form1PickDisplayP3 : public Form1PickAverage {
protected:
    void SetUp() override
    {
        profile = DisplayP3Monitor();
        Form1PickAverage::SetUp();
        form->fAsShown = true;
    }
};

} // namespace

TEST_F(Form1PickAverage, PlusTakesTheSquaresMeanAndTheNextPickKeepsTheSize)
{
    TPickOverlay *overlay = PressPick();
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->AverageSize(), 1);
    QTest::keyClick(overlay, Qt::Key_Plus);
    QTest::keyClick(overlay, Qt::Key_Return);
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("#C5C5C5")) << "5/9 of white's light";

    overlay = PressPick();
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->AverageSize(), 3);
    QTest::keyClick(overlay, Qt::Key_Minus);
    QTest::keyClick(overlay, Qt::Key_Return);
    EXPECT_EQ(form->fMyColor, 0xFFFFFFu);
    EXPECT_TRUE(messages.Messages.empty());
}

TEST_F(Form1PickDisplayP3, AWideGamutPickIsCurrentExactlyWithItsFallbackShown)
{
    white = qRgb(255, 0, 0);
    TPickOverlay *overlay = PressPick();
    ASSERT_NE(overlay, nullptr);
    QTest::keyClick(overlay, Qt::Key_Return);
    const TExactColour &exact = form->Colour().Exact();
    EXPECT_EQ(ExactColourText(exact), QStringLiteral("color(display-p3 1 0 0)"));
    EXPECT_TRUE(form->Colour().OutsideSrgb());
    // The window's 8 bits are the fallback of the exact colour, as a pasted display-p3 red gives.
    const TRgb8 fallback = ReadExactColour(u"color(display-p3 1 0 0)")->Colour.Rgb8();
    EXPECT_EQ(form->fMyColor, static_cast<TColor>(fallback.R | (fallback.G << 8) | (fallback.B << 16)));
}

using Form1AverageSetting = Form1Restarts;

TEST_F(Form1AverageSetting, WrittenOnlyOnceChangedInASectionOfItsOwn)
{
    Start()->close();
    const QByteArray untouched = IniBytes();
    auto form = Start();
    form->ScreenPicker(); // a pick without a change of size writes nothing either
    form->close();
    EXPECT_EQ(IniBytes(), untouched);
    EXPECT_FALSE(untouched.contains("PickAverage"));

    form = Start();
    form->PickAverageChanged(9);
    form->close();
    EXPECT_EQ(IniBytes(), untouched + QByteArray("[Form\\PickAverage]\nInteger=9\n"));
    form = Start();
    EXPECT_EQ(form->fPickAverage, 9);
    form->close();

    // A size that is none of the list (a hand-edited file) picks one pixel and stays as it was.
    QByteArray edited = IniBytes();
    edited.replace("Integer=9", "Integer=7");
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(edited);
    f.close();
    form = Start();
    EXPECT_EQ(form->fPickAverage, 1);
    form->close();
    EXPECT_EQ(IniBytes(), edited);
    EXPECT_TRUE(messages.Messages.empty());
}
