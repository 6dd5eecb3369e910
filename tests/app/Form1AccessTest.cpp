// The main window through a screen reader's eyes: roles, names, states and actions of its
// controls, and the order Tab walks its fields in.
#include "app/ColorSwatch.h"
#include "app/CommandMenu.h"
#include "Form1Fixture.h"
#include "framework/Announcer.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleTextInterface>
#include <QAction>
#include <QSet>

namespace {

QAccessibleInterface *Access(QWidget *w)
{
    return QAccessible::queryAccessibleInterface(w);
}

// Runs an accessible action and lets the event loop carry it out, as a screen reader's call is.
void Act(QWidget *w, const QString &action)
{
    QAccessibleInterface *iface = Access(w);
    ASSERT_TRUE(iface && iface->actionInterface());
    ASSERT_TRUE(iface->actionInterface()->actionNames().contains(action)) << w->objectName().toStdString();
    iface->actionInterface()->doAction(action);
    QCoreApplication::processEvents();
}

QString Name(QWidget *w) { return Access(w)->text(QAccessible::Name); }

class Form1Access : public Form1Fixture {};

TEST_F(Form1Access, CommandButtonsArePushButtonsNamedByCaptionAndCommand)
{
    QSet<QString> names;
    const QList<TShineSpeedButton *> buttons = form->findChildren<TShineSpeedButton *>();
    ASSERT_EQ(buttons.size(), 20);
    for (TShineSpeedButton *b : buttons) {
        QAccessibleInterface *iface = Access(b);
        ASSERT_TRUE(iface);
        EXPECT_EQ(iface->role(), QAccessible::Button) << b->Caption().toStdString();
        EXPECT_TRUE(Name(b).contains(b->Caption())) << Name(b).toStdString();
        EXPECT_EQ(iface->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
        names.insert(Name(b));
    }
    EXPECT_EQ(names.size(), 20) << "every button has a name of its own";
    EXPECT_EQ(Name(form->RGBButton), QStringLiteral("rgb: Copy rgb (POV-Ray)"));
    EXPECT_EQ(Name(form->RestoreButton), QStringLiteral("restore: Restore from rgb"));
    EXPECT_EQ(Name(form->UniCodeButton), QStringLiteral("restore: Escapes to Japanese"));
    EXPECT_EQ(Name(form->ExitButton), QStringLiteral("Exit"));
    EXPECT_EQ(Access(form->RGBButton)->text(QAccessible::Description), QStringLiteral("POV-ray"));
    EXPECT_EQ(Access(form->Re_HtButton)->text(QAccessible::Description), QStringLiteral("restore"));
}

TEST_F(Form1Access, PressRunsWhatAClickRuns)
{
    Pick(RGB(0x12, 0x34, 0x56));
    Act(form->RGBButton, QAccessibleActionInterface::pressAction());
    EXPECT_EQ(Clipboard(), form->PovEdit->text());
    Act(form->HtmlButton, QAccessibleActionInterface::pressAction());
    EXPECT_EQ(Clipboard(), QStringLiteral("#123456"));

    form->Edit5->setText(QStringLiteral("#ABCDEF"));
    Act(form->Re_HtButton, QAccessibleActionInterface::pressAction());
    EXPECT_EQ(form->fMyColor, RGB(0xAB, 0xCD, 0xEF));
    EXPECT_EQ(form->Edit6->text(), QStringLiteral("171"));

    Act(form->AboutButton, QAccessibleActionInterface::pressAction());
    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_EQ(messages.Messages[0].text, QStringLiteral("Pigmora ver1.11"));
}

TEST_F(Form1Access, PigmentBoxIsACheckBoxThatToggles)
{
    Pick(RGB(0x12, 0x34, 0x56));
    QAccessibleInterface *box = Access(form->LCheckBox);
    EXPECT_EQ(box->role(), QAccessible::CheckBox);
    EXPECT_EQ(box->text(QAccessible::Name), QStringLiteral("pigment"));
    EXPECT_EQ(box->text(QAccessible::Description), QStringLiteral("pigment{ }"));
    EXPECT_TRUE(box->state().checkable);
    EXPECT_FALSE(box->state().checked);

    Act(form->LCheckBox, QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(form->LCheckBox->Checked());
    EXPECT_TRUE(box->state().checked);
    EXPECT_TRUE(form->PovEdit->text().startsWith(QStringLiteral("pigment{")));

    // The command leaves the focus where the user types.
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->Edit5->setFocus();
    QTest::keyClick(form->Edit5, Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(form->LCheckBox->Checked());
    EXPECT_FALSE(form->PovEdit->text().startsWith(QStringLiteral("pigment{")));
    EXPECT_TRUE(form->Edit5->hasFocus());
    QAction *entry = nullptr;
    for (QAction *a : form->CommandMenu->Commands())
        if (a->text() == QStringLiteral("pigment{ } wrapper"))
            entry = a;
    ASSERT_TRUE(entry);
    entry->trigger();
    form->CommandMenu->Refresh();
    EXPECT_TRUE(entry->isChecked());
    EXPECT_TRUE(form->LCheckBox->Checked());

    // Space on the focused box toggles it as a click does; with a modifier it does nothing.
    form->LCheckBox->setFocus();
    QTest::keyClick(form->LCheckBox, Qt::Key_Space);
    EXPECT_FALSE(form->LCheckBox->Checked());
    EXPECT_FALSE(box->state().checked);
    EXPECT_TRUE(form->PovEdit->text().startsWith(QStringLiteral("rgb <")));
    EXPECT_TRUE(form->LCheckBox->hasFocus());
    QTest::keyClick(form->LCheckBox, Qt::Key_Space);
    EXPECT_TRUE(form->LCheckBox->Checked());
    EXPECT_TRUE(form->PovEdit->text().startsWith(QStringLiteral("pigment{")));
    QTest::keyClick(form->LCheckBox, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_TRUE(form->LCheckBox->Checked());
}

TEST_F(Form1Access, FieldsAreNamedByWhatStandsAroundThem)
{
    QSet<QString> names;
    const QList<QLineEdit *> edits = form->findChildren<QLineEdit *>();
    ASSERT_EQ(edits.size(), 12);
    for (QLineEdit *e : edits) {
        EXPECT_EQ(Access(e)->role(), QAccessible::EditableText);
        EXPECT_FALSE(Name(e).isEmpty()) << e->objectName().toStdString();
        names.insert(Name(e));
    }
    EXPECT_EQ(names.size(), 12);
    EXPECT_EQ(Name(form->Edit1), QStringLiteral("Red 0-100%"));
    EXPECT_EQ(Name(form->Edit7), QStringLiteral("Green 0-255"));
    EXPECT_EQ(Name(form->PovEdit), QStringLiteral("POV-Ray colour"));
    EXPECT_EQ(Access(form->FTEdit)->text(QAccessible::Description), QStringLiteral("0.0-1.0  filter or transmit"));

    // No label relation: a screen reader says a field's label in place of its name, and "Red"
    // alone would lose the unit.
    EXPECT_TRUE(Access(form->Edit1)->relations(QAccessible::Label).isEmpty());
}

TEST_F(Form1Access, SwatchReadsOutTheCurrentColour)
{
    QAccessibleInterface *swatch = Access(form->Label1);
    EXPECT_EQ(swatch->text(QAccessible::Name), QStringLiteral("Current colour: #98B5D1"));
    ASSERT_TRUE(swatch->textInterface());
    EXPECT_EQ(swatch->textInterface()->text(0, -1), QStringLiteral("#98B5D1"));
    Pick(RGB(0x22, 0xCC, 0x80));
    EXPECT_EQ(swatch->text(QAccessible::Value), QStringLiteral("#22CC80"));
    EXPECT_EQ(swatch->textInterface()->characterCount(), 7);
    EXPECT_EQ(swatch->textInterface()->text(1, 3), QStringLiteral("22"));
    EXPECT_EQ(form->Label1->palette().color(QPalette::Window), QColor(0x22, 0xCC, 0x80));
    EXPECT_EQ(swatch->text(QAccessible::Name), QStringLiteral("Current colour: #22CC80"));

    // Told without a move of the focus: the new colour, then a copy.
    const auto *announcer = form->findChild<TAnnouncer *>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_TRUE(announcer);
    EXPECT_EQ(announcer->Said(), QStringLiteral("Colour #22CC80"));
    Click(form->HtmlButton);
    EXPECT_EQ(announcer->Said(), QStringLiteral("Copied #22CC80"));
    EXPECT_EQ(announcer->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(announcer->testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST_F(Form1Access, TabWalksTheFieldsRowByRow)
{
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->PovEdit->setFocus();
    QStringList walked;
    for (int i = 0; i < 13; ++i) {
        walked << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(walked, (QStringList{"PovEdit", "Edit1", "Edit6", "Edit2", "Edit7", "Edit3", "Edit8", "LCheckBox",
                                   "FTEdit", "Edit4", "Edit5", "KanjiEdit", "UniCodeEdit"}));
}

} // namespace
