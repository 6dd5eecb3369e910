#include "Form1Fixture.h"

#include "app/AnywhereDialog.h"
#include "app/ColourState.h"
#include "app/PickAnywhere.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QKeySequenceEdit>
#include <QPushButton>

namespace {

// The main window with a screen painted red, picked from by the desktop-wide key's path.
class PickAnywhereFixture : public Form1OneColourScreen {
protected:
    PickAnywhereFixture() { screen = qRgb(0xff, 0x00, 0x00); }
};

TAnywhereDialog *OpenDialog(TForm1 &form)
{
    form.AnywhereSettingsClick();
    return form.findChild<TAnywhereDialog *>();
}

void Ok(TAnywhereDialog *dialog)
{
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
}

} // namespace

TEST_F(PickAnywhereFixture, APressDuringAPickGoesToThatPickAndTheColourIsCopiedAsChosen)
{
    TPickAnywhere::TEnv env;
    env.Messages = &messages;
    TPickAnywhere anywhere(*form, env);
    TAnywhereSettings settings;
    settings.Notation = QStringLiteral("oklch");
    // Applied without the key and the tray: only the notation matters here.
    anywhere.Apply(settings, false);

    anywhere.Pick();
    TPickOverlay *overlay = Overlay();
    ASSERT_NE(overlay, nullptr);
    anywhere.Pick();
    EXPECT_EQ(Overlay(), overlay) << "a second press started a second pick";
    QTest::mouseClick(overlay, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(Overlay(), nullptr);
    EXPECT_EQ(form->fMyColor, 0x0000FF);
    EXPECT_EQ(form->Colour().History().Colours().front().Rgb8(), (TRgb8{255, 0, 0}));
    EXPECT_EQ(Clipboard(), QStringLiteral("oklch(0.628 0.2577 29.23)"));
    EXPECT_TRUE(messages.Messages.empty());
}

TEST_F(PickAnywhereFixture, TheDialogIsReachedByKeyboardAndNamed)
{
    TAnywhereDialog *dialog = OpenDialog(*form);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    // Tab goes through every control in reading order.
    // (The key editor's own line edit, its focus proxy, counts as the editor.)
    const auto takesTab = [&](QWidget *w) {
        return w->focusPolicy() & Qt::TabFocus && w->isVisibleTo(dialog) 
               && (w == dialog->KeyEdit || !dialog->KeyEdit->isAncestorOf(w));
    };
    QList<QWidget *> order;
    QWidget *w = dialog->KeyOnBox;
    for (int i = 0; i < 5; ++i, w = w->nextInFocusChain()) {
        while (!takesTab(w))
            w = w->nextInFocusChain();
        order << w;
    }
    EXPECT_EQ(order.value(0), dialog->KeyOnBox);
    EXPECT_EQ(order.value(1), dialog->KeyEdit);
    EXPECT_EQ(order.value(3), dialog->NotationBox);
    EXPECT_EQ(order.value(4), dialog->TrayBox);
    EXPECT_EQ(dialog->KeyEdit->accessibleName(), QStringLiteral("Key"));
    EXPECT_EQ(dialog->NotationBox->accessibleName(), QStringLiteral("Copy as"));

    // The key is off until turned on; then the first key pressed is the key, not a sequence.
    EXPECT_FALSE(dialog->KeyEdit->isEnabled());
    QTest::keyClick(dialog->KeyOnBox, Qt::Key_Space);
    EXPECT_TRUE(dialog->KeyEdit->isEnabled());
    dialog->KeyEdit->clear();
    QTest::keyClick(dialog->KeyEdit, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(dialog->KeyEdit, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(dialog->Settings().Key, QKeyCombination(Qt::CTRL | Qt::ALT, Qt::Key_K));
    EXPECT_TRUE(dialog->Settings().KeyOn);
    // Escape leaves everything as it was.
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(form->PickAnywhere(), nullptr);
}

namespace {

class PickAnywhereRestarts : public Form1Restarts {};

} // namespace

TEST_F(PickAnywhereRestarts, NothingIsMadeOrWrittenUntilChanged)
{
    auto form = Start();
    form->close();
    EXPECT_EQ(form->PickAnywhere(), nullptr);
    EXPECT_FALSE(IniBytes().contains("DesktopKey"));

    // Only what changed is written; the next start reads it back.
    form = Start();
    TAnywhereDialog *dialog = OpenDialog(*form);
    ASSERT_NE(dialog, nullptr);
    dialog->NotationBox->setCurrentText(QStringLiteral("css-rgb"));
    Ok(dialog);
    EXPECT_EQ(form->PickAnywhere(), nullptr) << "made with the key and the tray off";
    form->close();
    const QByteArray bytes = IniBytes();
    EXPECT_TRUE(bytes.contains("[Form\\DesktopKey]\r\nNotation=css-rgb") || bytes.contains("[Form\\DesktopKey]\nNotation=css-rgb"))
        << bytes.toStdString();
    for (const char *ident : {"On=", "Key=", "Tray="})
        EXPECT_FALSE(bytes.contains(ident)) << ident;

    form = Start();
    dialog = OpenDialog(*form);
    EXPECT_EQ(dialog->NotationBox->currentText(), QStringLiteral("css-rgb"));
    EXPECT_FALSE(dialog->KeyOnBox->isChecked());
    EXPECT_EQ(dialog->Settings().Key, DefaultGlobalKey);
}

TEST_F(PickAnywhereRestarts, StoredValuesThatDoNotReadAreDefaultsAndLeftAlone)
{
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Form\\DesktopKey]\nKey=Ctrl+Ctrl+Nothing,Other\nNotation=no-such-notation\n");
    }
    auto form = Start();
    TAnywhereDialog *dialog = OpenDialog(*form);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Settings().Key, DefaultGlobalKey);
    EXPECT_EQ(dialog->Settings().Notation, QStringLiteral("html"));
    EXPECT_TRUE(messages.Messages.empty());
    dialog->close();
    form->close();
    EXPECT_TRUE(IniBytes().contains("Notation=no-such-notation"));
    EXPECT_TRUE(IniBytes().contains("Key=Ctrl+Ctrl+Nothing,Other"));
}
