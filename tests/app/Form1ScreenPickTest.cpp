#include "Form1Fixture.h"

#include "app/WindowCommands.h"

namespace {

// The main window with a screen painted in one colour, read the X11 way.
class Form1ScreenPick : public Form1Fixture {
protected:
    void AdjustEnv(TForm1Env &env) override
    {
        env.ScreenPick.Path = TPickPath::ScreenGrab;
        env.ScreenPick.Grab = [this](const QRect &area) {
            QImage image(area.size(), QImage::Format_RGB32);
            image.fill(screen);
            return image;
        };
    }
    void SetUp() override
    {
        Form1Fixture::SetUp();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->PovEdit->setFocus();
    }
    void PressPick() { QTest::keyClick(form->PovEdit, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier); }
    TPickOverlay *Overlay() { return form->ScreenPicker().Overlay(); }

    QRgb screen = qRgb(0x12, 0x34, 0x56);
};

} // namespace

TEST_F(Form1ScreenPick, CtrlShiftEThenClickMakesThePixelTheCurrentColour)
{
    PressPick();
    ASSERT_NE(Overlay(), nullptr);
    QTest::mouseClick(Overlay(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(Overlay(), nullptr);
    EXPECT_EQ(form->fMyColor, 0x563412);
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("#123456"));
    EXPECT_EQ(form->Edit4->text(), QStringLiteral("$00563412"));
    EXPECT_EQ(form->SwatchColor(), 0x563412);
    EXPECT_EQ(Clipboard(), QStringLiteral("untouched"));
}

TEST_F(Form1ScreenPick, EscapeLeavesFieldsAndClipboardAsTheyWere)
{
    Pick(0x00FF00);
    const QStringList before = NotationFields();
    PressPick();
    ASSERT_NE(Overlay(), nullptr);
    QTest::keyClick(Overlay(), Qt::Key_Escape);
    EXPECT_EQ(Overlay(), nullptr);
    EXPECT_EQ(NotationFields(), before);
    EXPECT_EQ(form->fMyColor, 0x00FF00);
    EXPECT_EQ(Clipboard(), QStringLiteral("untouched"));
    EXPECT_TRUE(messages.Messages.empty());
}

TEST_F(Form1ScreenPick, EyedropperIsMadeAtItsFirstUse)
{
    EXPECT_TRUE(form->findChildren<TScreenPicker *>().isEmpty());
    PressPick();
    EXPECT_EQ(form->findChildren<TScreenPicker *>().size(), 1);
    ASSERT_NE(Overlay(), nullptr);
    QTest::keyClick(Overlay(), Qt::Key_Escape);
}
