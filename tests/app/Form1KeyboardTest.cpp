#include "app/CommandMenu.h"
#include "app/Unit1.h"
#include "app/WindowCommands.h"
#include "picker/ColPickForm.h"
#include "widgets/ShineSpdBtn.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

// One main window with every dialog answered by the test, prepared the same way each time.
struct Window {
    TRecordingMessageSink messages;
    TFixedClock clock{TimeOfDayMs(9, 8, 7, 654)};
    std::unique_ptr<TForm1> form;

    Window()
    {
        TForm1Env env;
        env.Messages = &messages;
        env.Clock = &clock;
        env.ColorDialogRunner = [](TColorDialog &d) {
            d.Color = 0x00CC6633;
            return true;
        };
        env.PickerRunner = [](TColorPickerForm &f) {
            f.PreparePicker();
            f.SetPaletteColor(f.Selected(), 0x00112233);
            f.UpdateControls(ucAll);
            f.OKBtnClick();
            return f.result() == QDialog::Accepted;
        };
        form = std::make_unique<TForm1>(env);
        form->show();
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get()))
            ADD_FAILURE() << "the window did not become active";
        form->fMyColor = 0x00336699;
        form->DoRGB();
        form->FTEdit->setText(QStringLiteral("0.5"));
        // Fields that read back to something other than the current colour or text.
        form->PovEdit->setText(QStringLiteral("rgb <1, 0.5, 0>"));
        form->Edit1->setText(QStringLiteral("10"));
        form->KanjiEdit->setText(QStringLiteral("色"));
        form->UniCodeEdit->setText(QStringLiteral("\\u65E5"));
        form->PovEdit->setFocus();
        QApplication::clipboard()->setText(QStringLiteral("untouched"));
    }

    // Everything a command can change that the user sees, the clipboard included.
    QStringList State() const
    {
        QStringList s{form->Label7->text(), form->Edit1->text(), form->Edit2->text(), form->Edit3->text(),
                      form->Edit4->text(),  form->Edit5->text(), form->Edit6->text(), form->Edit7->text(),
                      form->Edit8->text(),  form->PovEdit->text(), form->fRgbfText, form->fRgbtText,
                      form->KanjiEdit->text(), form->UniCodeEdit->text(), QString::number(form->fMyColor),
                      QApplication::clipboard()->text(), form->isVisible() ? QStringLiteral("shown") : QStringLiteral("closed")};
        for (const TRecordedMessage &m : messages.Messages)
            s << m.text;
        return s;
    }
};

void Press(const QKeySequence &keys)
{
    QTest::keyClick(QApplication::focusWidget(), keys[0].key(), keys[0].keyboardModifiers());
}

struct KeyCase {
    TShineSpeedButton *TForm1::*button;
    const char *keys;
    const char *name;
};

void PrintTo(const KeyCase &c, std::ostream *os) { *os << c.name; }

class Form1Shortcut : public testing::TestWithParam<KeyCase> {};

// The shortcut, pressed in the POV-Ray field, leaves the window as a click on the button does.
TEST_P(Form1Shortcut, DoesWhatTheButtonsClickDoes)
{
    const KeyCase &c = GetParam();
    QStringList clicked, pressed, untouched;
    {
        Window w;
        untouched = w.State();
        TShineSpeedButton *b = (*w.form).*c.button;
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(b->width() / 2, b->height() / 2));
        clicked = w.State();
    }
    {
        Window w;
        Press(QKeySequence(QString::fromLatin1(c.keys)));
        pressed = w.State();
    }
    EXPECT_EQ(pressed.join(QLatin1Char('|')).toStdString(), clicked.join(QLatin1Char('|')).toStdString());
    EXPECT_NE(clicked, untouched) << "the command should change something visible";
}

INSTANTIATE_TEST_SUITE_P(
    Commands, Form1Shortcut,
    testing::Values(KeyCase{&TForm1::RGBButton, "Ctrl+Shift+C", "rgb"},
                    KeyCase{&TForm1::RGBFButton, "Ctrl+Shift+F", "rgbf"},
                    KeyCase{&TForm1::RGBTButton, "Ctrl+Shift+T", "rgbt"},
                    KeyCase{&TForm1::DelphiButton, "Ctrl+Shift+D", "Delphi"},
                    KeyCase{&TForm1::HtmlButton, "Ctrl+Shift+H", "HTML"},
                    KeyCase{&TForm1::RestoreButton, "Alt+R", "restore"},
                    KeyCase{&TForm1::Re_DeButton, "Alt+D", "BGR"},
                    KeyCase{&TForm1::Re_HtButton, "Alt+H", "RGB"},
                    KeyCase{&TForm1::Re_PerButton, "Alt+P", "percent"},
                    KeyCase{&TForm1::Re_RgbButton, "Alt+B", "bytes"},
                    KeyCase{&TForm1::OpenButton, "Ctrl+O", "Open"},
                    KeyCase{&TForm1::FhotoButton, "Ctrl+Shift+P", "Photoshop"},
                    KeyCase{&TForm1::RandomButton1, "Ctrl+1", "ra1"},
                    KeyCase{&TForm1::RandomButton2, "Ctrl+2", "ra2"},
                    KeyCase{&TForm1::RepreButton, "F5", "repre"},
                    KeyCase{&TForm1::ClearButton, "Ctrl+Shift+L", "clear"},
                    KeyCase{&TForm1::KanjiButton, "Ctrl+Shift+J", "JtoHex"},
                    KeyCase{&TForm1::UniCodeButton, "Alt+J", "HexToJapanese"},
                    KeyCase{&TForm1::AboutButton, "F1", "about"},
                    KeyCase{&TForm1::ExitButton, "Ctrl+Q", "Exit"}),
    [](const testing::TestParamInfo<KeyCase> &info) { return std::string(info.param.name); });

TEST(Form1Keyboard, EveryCommandIsInTheMenuWithItsOwnShortcut)
{
    Window w;
    const QList<QAction *> entries = w.form->CommandMenu->Commands();
    // The twenty buttons, the eyedropper, paste, srgb, the pigment wrapper, the as-shown switch,
    // Notations, the contrast, palette and history commands, the judging window, the palette window and the desktop-wide key's settings.
    EXPECT_EQ(MainWindowCommands().size(), 21u);
    EXPECT_EQ(entries.size(), 33);
    // Keys the edits use for themselves, and the menu's own key.
    const QList<QKeySequence> taken = {
        QKeySequence(QStringLiteral("Ctrl+A")), QKeySequence(QStringLiteral("Ctrl+C")), QKeySequence(QStringLiteral("Ctrl+V")),
        QKeySequence(QStringLiteral("Ctrl+X")), QKeySequence(QStringLiteral("Ctrl+Z")), QKeySequence(QStringLiteral("Ctrl+Y")),
        QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+E")), QKeySequence(QStringLiteral("Ctrl+K")),
        QKeySequence(QStringLiteral("Ctrl+U")), QKeySequence(QStringLiteral("Home")), QKeySequence(QStringLiteral("End")),
        QKeySequence(QStringLiteral("Left")), QKeySequence(QStringLiteral("Right")), QKeySequence(QStringLiteral("Up")),
        QKeySequence(QStringLiteral("Down")), QKeySequence(QStringLiteral("F10"))};
    QList<QKeySequence> seen;
    for (QAction *a : entries) {
        EXPECT_FALSE(a->shortcut().isEmpty()) << a->text().toStdString();
        EXPECT_FALSE(taken.contains(a->shortcut())) << a->text().toStdString();
        EXPECT_FALSE(seen.contains(a->shortcut())) << a->text().toStdString();
        seen << a->shortcut();
    }
    const auto shortcutOf = [&](const QString &text) {
        for (QAction *a : entries)
            if (a->text() == text)
                return a->shortcut();
        return QKeySequence();
    };
    EXPECT_EQ(shortcutOf(QStringLiteral("Pick from screen")), QKeySequence(QStringLiteral("Ctrl+Shift+E")));
    EXPECT_EQ(shortcutOf(QStringLiteral("Copy rgb (POV-Ray)")), QKeySequence(QStringLiteral("Ctrl+Shift+C")));
    for (auto *b : w.form->findChildren<TShineSpeedButton *>())
        EXPECT_EQ(b->focusPolicy(), Qt::NoFocus);
}

TEST(Form1Keyboard, F10InThePovFieldOpensTheCommandMenu)
{
    Window w;
    Press(QKeySequence(Qt::Key_F10));
    QMenu *menu = w.form->CommandMenu->Menu();
    EXPECT_TRUE(menu->isVisible());
    for (QAction *a : w.form->CommandMenu->Commands())
        EXPECT_TRUE(menu->actions().contains(a)) << a->text().toStdString();
    // It opens on its first entry that can run, which a screen reader says at once.
    QAction *first = nullptr;
    for (QAction *a : menu->actions())
        if (!first && !a->isSeparator() && a->isEnabled())
            first = a;
    ASSERT_NE(menu->activeAction(), nullptr);
    EXPECT_EQ(menu->activeAction(), first);
    menu->hide();
    EXPECT_EQ(QApplication::focusWidget(), w.form->PovEdit);
}

TEST(Form1Keyboard, EditMenuKeepsItsOwnEntriesAndGainsTheCommands)
{
    Window w;
    for (const auto reason : {QContextMenuEvent::Keyboard, QContextMenuEvent::Mouse}) {
        QLineEdit *edit = w.form->PovEdit;
        QContextMenuEvent e(reason, QPoint(5, 5), edit->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(edit, &e);
        QMenu *menu = edit->findChild<QMenu *>(QStringLiteral("EditMenu"));
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(menu->isVisible());
        EXPECT_FALSE(w.form->CommandMenu->Menu()->isVisible());
        // Every standard entry, in its place, then the submenu.
        const std::unique_ptr<QMenu> standard(edit->createStandardContextMenu());
        const QList<QAction *> own = menu->actions(), reference = standard->actions();
        ASSERT_GT(own.size(), reference.size());
        for (qsizetype i = 0; i < reference.size(); ++i)
            EXPECT_EQ(own[i]->text(), reference[i]->text()) << i;
        EXPECT_TRUE(std::any_of(reference.begin(), reference.end(),
                                [](QAction *a) { return a->text().contains(QLatin1String("Copy")); }));
        auto *commands = menu->findChild<QMenu *>(QStringLiteral("CommandsSubmenu"));
        ASSERT_NE(commands, nullptr);
        EXPECT_EQ(commands->actions(), w.form->CommandMenu->Commands());
        menu->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // A command chosen there runs as its shortcut does.
    QContextMenuEvent e(QContextMenuEvent::Keyboard, QPoint(5, 5), w.form->Edit5->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(w.form->Edit5, &e);
    auto *commands = w.form->Edit5->findChild<QMenu *>(QStringLiteral("CommandsSubmenu"));
    ASSERT_NE(commands, nullptr);
    for (QAction *a : commands->actions())
        if (a->text() == QLatin1String("Copy HTML"))
            a->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("#996633"));
}

TEST(Form1Keyboard, EditsKeepTheirOwnKeys)
{
    Window w;
    QLineEdit *edit = w.form->PovEdit;
    const QString text = edit->text();
    ASSERT_FALSE(text.isEmpty());
    const QStringList before = w.State();
    const auto key = [&](Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(edit, k, m); };

    key(Qt::Key_Home);
    EXPECT_EQ(edit->cursorPosition(), 0);
    key(Qt::Key_Right);
    EXPECT_EQ(edit->cursorPosition(), 1);
    key(Qt::Key_End);
    EXPECT_EQ(edit->cursorPosition(), text.size());
    key(Qt::Key_Left);
    EXPECT_EQ(edit->cursorPosition(), text.size() - 1);
    key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(edit->selectedText(), text);
    edit->setSelection(0, 3);
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), text.left(3));
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), text.mid(3));
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), text);
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), text.mid(3));
    key(Qt::Key_Home);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), text);
    // None of it reached a window command.
    QStringList after = w.State();
    QStringList expected = before;
    expected[15] = text.left(3); // the clipboard, as Ctrl+C left it
    EXPECT_EQ(after, expected);
}

} // namespace
