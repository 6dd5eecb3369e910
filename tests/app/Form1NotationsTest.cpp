#include "Form1Fixture.h"

#include "app/CommandMenu.h"
#include "app/NotationsWindow.h"
#include "picker/ColPickForm.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

class Form1Notations : public Form1Fixture {
protected:
    void AdjustEnv(TForm1Env &env) override
    {
        env.Beep = [this] { ++beeps; };
        env.PickerRunner = [this](TColorPickerForm &f) {
            f.PreparePicker();
            f.SetPaletteColor(27, pickerColour);
            f.OKBtnClick();
            return f.result() == QDialog::Accepted;
        };
    }
    TNotationsWindow *Open()
    {
        QAction *command = Command(QStringLiteral("Notations"));
        command->trigger();
        return form->NotationsWindow();
    }
    QAction *Command(const QString &text) const
    {
        for (QAction *a : form->CommandMenu->Commands())
            if (a->text() == text)
                return a;
        ADD_FAILURE() << "no command " << text.toStdString();
        return nullptr;
    }
    static QStringList RowTexts(const TNotationsWindow *w)
    {
        QStringList texts;
        for (int i = 0; i < w->RowCount(); ++i)
            texts << w->RowEdit(i)->text();
        return texts;
    }
    int beeps = 0;
    TColor pickerColour = RGB(10, 200, 30);
};

TEST_F(Form1Notations, OpensWithItsKeyAndFollowsEveryColourCommand)
{
    EXPECT_EQ(form->NotationsWindow(), nullptr) << "made at its first opening, never at start";
    EXPECT_EQ(Command(QStringLiteral("Notations"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+N")));
    TNotationsWindow *w = Open();
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Pigmora Notations"));
    EXPECT_EQ(w->RowEdit(0)->text(), QStringLiteral("#98b5d1"));

    Click(form->RandomButton1);
    const TColor random = form->fMyColor;
    EXPECT_EQ(RowTexts(w), [&] {
        QStringList t;
        for (const TNotationRow &r : WriteNotations({GetRValue(random), GetGValue(random), GetBValue(random)}))
            t << r.Text;
        return t;
    }());
    Click(form->FhotoButton);
    EXPECT_EQ(w->RowEdit(1)->text(), QStringLiteral("rgb(10 200 30)"));
    EXPECT_EQ(w->RowEdit(19)->text(), QStringLiteral("QColor(10, 200, 30)"));

    Command(QStringLiteral("Notations"))->trigger();
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(Command(QStringLiteral("Notations"))->isChecked());
}

TEST_F(Form1Notations, CopyButtonReturnAndCopyAsPutTheRowsExactText)
{
    TNotationsWindow *w = Open();
    const int oklch = 7;
    Click(w->RowCopyButton(oklch));
    EXPECT_EQ(Clipboard(), QStringLiteral("oklch(0.76 0.0514 248)"));
    w->RowEdit(22)->setFocus();
    QTest::keyClick(w->RowEdit(22), Qt::Key_Return);
    EXPECT_EQ(Clipboard(), QStringLiteral("\\definecolor{pigmora}{HTML}{98B5D1}"));

    QMenu *copyAs = form->CommandMenu->Menu()->findChild<QMenu *>(QStringLiteral("CopyAsMenu"));
    ASSERT_TRUE(copyAs);
    emit copyAs->aboutToShow();
    ASSERT_EQ(copyAs->actions().size(), w->RowCount());
    for (int i = 0; i < w->RowCount(); ++i) {
        EXPECT_TRUE(copyAs->actions()[i]->text().endsWith(w->RowEdit(i)->text().replace(QLatin1Char('&'), QStringLiteral("&&"))));
        copyAs->actions()[i]->trigger();
        EXPECT_EQ(Clipboard(), w->RowEdit(i)->text());
    }
    EXPECT_EQ(w->RowEdit(0)->accessibleName(), QStringLiteral("CSS hex"));
    EXPECT_EQ(w->RowCaption(0)->buddy(), w->RowEdit(0));
}

TEST_F(Form1Notations, APastedColourOutsideSrgbIsMappedAndSaidSo)
{
    QApplication::clipboard()->setText(QStringLiteral("oklch(0.7 0.3 30)"));
    form->PasteColorClick();
    EXPECT_EQ(beeps, 0);
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("#FF5843"));
    TNotationsWindow *w = form->NotationsWindow();
    ASSERT_TRUE(w) << "the note opens the window";
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->Note()->text(), QStringLiteral("mapped into sRGB from oklch(0.7 0.3 30)"));

    QApplication::clipboard()->setText(QStringLiteral("lab(52 40 -30)"));
    form->PasteColorClick();
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("#AB60B1"));
    EXPECT_TRUE(w->Note()->isHidden());

    QApplication::clipboard()->setText(QStringLiteral("oklch(0.7 0.3)"));
    form->PasteColorClick();
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("#AB60B1"));
}

class Form1NotationsSetting : public Form1Restarts {};

TEST_F(Form1NotationsSetting, NeverOpenedLeavesTheFileByteForByteAndOpenedIsKeptInItsOwnSection)
{
    auto form = Start();
    form->RandomButton1Click();
    form->close();
    Start()->close();
    const QByteArray colourOnly = IniBytes();
    EXPECT_FALSE(colourOnly.contains("Notations"));

    form = Start();
    form->NotationsClick();
    form->NotationsWindow()->setGeometry(120, 130, 900, 1000);
    form->close();
    const QByteArray opened = IniBytes();
    EXPECT_TRUE(opened.startsWith(colourOnly)) << "everything else keeps its bytes";
    EXPECT_EQ(opened.mid(colourOnly.size()),
              QByteArray("[Form\\Notations]\nOpen=1\nLeft=120\nTop=130\nWidth=900\nHeight=1000\n"));

    form = Start();
    QTest::qWait(0);
    ASSERT_TRUE(form->NotationsWindow()) << "an open window opens again after the start";
    EXPECT_EQ(form->NotationsWindow()->geometry(), QRect(120, 130, 900, 1000));
    form->NotationsClick();
    form->close();
    EXPECT_TRUE(IniBytes().contains("Open=0\n"));
    EXPECT_TRUE(messages.Messages.empty());
}

} // namespace
