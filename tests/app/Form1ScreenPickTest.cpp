#include "Form1Fixture.h"

#include "../TestProfiles.h"
#include "app/CommandMenu.h"
#include "app/WindowCommands.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>

namespace {

// The main window with a screen painted in one colour, its focus in a field.
class Form1ScreenPick : public Form1OneColourScreen {
protected:
    void SetUp() override
    {
        Form1Fixture::SetUp();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->PovEdit->setFocus();
    }
    void PressPick() { QTest::keyClick(form->PovEdit, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier); }
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

// ---- "Pick as the monitor shows it" ------------------------------------------------------------

namespace {

QAction *AsShownEntry(TForm1 &form)
{
    for (QAction *a : form.CommandMenu->Commands())
        if (a->text() == QStringLiteral("Pick as the monitor shows it"))
            return a;
    return nullptr;
}

// The screen painted in one colour on a monitor whose profile swaps red and blue.
class Form1PickAsShown : public Form1ScreenPick {
protected:
    void AdjustEnv(TForm1Env &env) override
    {
        Form1OneColourScreen::AdjustEnv(env);
        env.ScreenPick.Profiles = [](int, int) { return TDisplayProfile::FromBytes(SwappedMonitor()); };
    }
    TColor PickNow()
    {
        PressPick();
        EXPECT_NE(Overlay(), nullptr);
        if (Overlay())
            QTest::keyClick(Overlay(), Qt::Key_Return);
        return form->fMyColor;
    }
};

} // namespace

TEST_F(Form1PickAsShown, SwitchInTheMenuIsOffAndTurnsTheConversionOn)
{
    QAction *entry = AsShownEntry(*form);
    ASSERT_NE(entry, nullptr);
    form->CommandMenu->Refresh();
    EXPECT_TRUE(entry->isCheckable());
    EXPECT_FALSE(entry->isChecked());
    screen = qRgb(200, 0, 0);
    EXPECT_EQ(PickNow(), 200) << "off: the device value";

    entry->trigger();
    EXPECT_TRUE(form->fAsShown);
    form->CommandMenu->Refresh();
    EXPECT_TRUE(entry->isChecked());
    const TColor shown = PickNow();
    EXPECT_LE(shown & 0xFF, 2);
    EXPECT_GE((shown >> 16) & 0xFF, 198) << "on: sent as red, shown as blue";
    EXPECT_EQ(form->SwatchColor(), shown);

    entry->trigger();
    EXPECT_EQ(PickNow(), 200);
    EXPECT_TRUE(messages.Messages.empty());
}

using Form1AsShownSetting = Form1Restarts;

TEST_F(Form1AsShownSetting, WrittenOnlyOnceTurnedOnInASectionOfItsOwn)
{
    Start()->close();
    const QByteArray untouched = IniBytes();
    Start()->close();
    EXPECT_EQ(IniBytes(), untouched) << "never on: the file keeps its bytes";
    EXPECT_FALSE(untouched.contains("PickAsShown"));

    auto form = Start();
    EXPECT_FALSE(form->fAsShown);
    form->AsShownSwitchClick();
    form->close();
    const QByteArray on = IniBytes();
    EXPECT_TRUE(on.startsWith(untouched)) << "everything else keeps its bytes";
    EXPECT_EQ(on.mid(untouched.size()), QByteArray("[Form\\PickAsShown]\nBool=1\n"));

    form = Start();
    EXPECT_TRUE(form->fAsShown);
    form->AsShownSwitchClick();
    form->close();
    EXPECT_EQ(IniBytes().mid(untouched.size()), QByteArray("[Form\\PickAsShown]\nBool=0\n"));
    EXPECT_FALSE(Start()->fAsShown);
    EXPECT_TRUE(messages.Messages.empty());
}
