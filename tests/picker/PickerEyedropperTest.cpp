#include "picker/ColPickDlg.h"
#include "picker/ColPickForm.h"
#include "picker/PickerEyedropper.h"

#include <gtest/gtest.h>

#include <QFrame>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <optional>

namespace {

// A pick that answers at once with `answer`, or like a cancelled pick when it is empty.
struct FakePick {
    std::optional<TColor> answer;
    QWidget *askedOver = nullptr;
    int picks = 0;
    TScreenPickStarter Starter()
    {
        return [this](QWidget *window, std::function<void(TColor)> taken) {
            askedOver = window;
            ++picks;
            if (answer)
                taken(*answer);
        };
    }
};

struct PickerWindow {
    TColorPickerForm form;
    FakePick pick;
    QToolButton *button;
    PickerWindow()
    {
        for (int i = 0; i < PaletteCellCount; ++i)
            form.SetPaletteColor(i, i * 0x010101);
        form.SetColor(5 * 0x010101);
        form.PreparePicker();
        button = AddScreenPickButton(form, pick.Starter());
    }
};

} // namespace

TEST(PickerEyedropper, ButtonSitsBesideThePreviewOverNoOtherControl)
{
    PickerWindow w;
    const QRect b = w.button->geometry();
    EXPECT_TRUE(w.form.rect().contains(b));
    EXPECT_GT(b.left(), w.form.Bevel1->geometry().right());
    EXPECT_LT(b.right(), w.form.OKBtn->geometry().left());
    EXPECT_TRUE(b.intersects(QRect(0, w.form.GetShape->y(), w.form.width(), w.form.GetShape->height())));
    for (QWidget *child : w.form.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child == w.button)
            continue;
        EXPECT_FALSE(child->geometry().intersects(b)) << child->metaObject()->className();
    }
    // The keyboard reaches it by Tab only; a click leaves the focus where it was.
    EXPECT_EQ(w.button->focusPolicy(), Qt::TabFocus);
}

TEST(PickerEyedropper, PickedColourGoesIntoTheSelectedCellAndEveryControl)
{
    PickerWindow w;
    ASSERT_EQ(w.form.Selected(), 5);
    w.pick.answer = 0x563412; // #123456
    QTest::mouseClick(w.button, Qt::LeftButton);
    EXPECT_EQ(w.pick.askedOver, &w.form);
    EXPECT_EQ(w.form.PaletteColor(5), 0x563412);
    EXPECT_EQ(w.form.Selected(), 5);
    EXPECT_EQ(w.form.RedEd->text(), QStringLiteral("18"));
    EXPECT_EQ(w.form.GreenEd->text(), QStringLiteral("52"));
    EXPECT_EQ(w.form.BlueEd->text(), QStringLiteral("86"));
    EXPECT_EQ(w.form.RedEd->Tag, 0x12);
    EXPECT_EQ(w.form.UHEd->text(), QStringLiteral("210"));
    EXPECT_EQ(w.form.GetShape->BrushColor(), QColor(0x12, 0x34, 0x56));
    for (int i = 0; i < PaletteCellCount; ++i) {
        if (i == 5)
            continue;
        EXPECT_EQ(w.form.PaletteColor(i), i * 0x010101) << i;
    }
}

TEST(PickerEyedropper, CancelledPickChangesNothing)
{
    PickerWindow w;
    const QString red = w.form.RedEd->text(), hue = w.form.UHEd->text();
    QTest::mouseClick(w.button, Qt::LeftButton);
    EXPECT_EQ(w.pick.picks, 1);
    EXPECT_EQ(w.form.PaletteColor(5), 5 * 0x010101);
    EXPECT_EQ(w.form.RedEd->text(), red);
    EXPECT_EQ(w.form.UHEd->text(), hue);
}

TEST(PickerEyedropper, DialogOffersTheButtonOnlyWithAPickAndHandsThePickBack)
{
    FakePick pick;
    pick.answer = 0x00C0FFEE & 0xFFFFFF;
    TColorPickerDialog dialog;
    dialog.SetColor(0x123456);
    bool hadButton = true;
    dialog.Runner = [&](TColorPickerForm &form) {
        form.PreparePicker();
        hadButton = form.findChild<QToolButton *>(QStringLiteral("ScreenPickButton")) != nullptr;
        form.OKBtnClick();
        return form.result() == QDialog::Accepted;
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_FALSE(hadButton);

    dialog.ScreenPick = pick.Starter();
    dialog.Runner = [&](TColorPickerForm &form) {
        form.PreparePicker();
        auto *button = form.findChild<QToolButton *>(QStringLiteral("ScreenPickButton"));
        if (!button)
            return false;
        QTest::mouseClick(button, Qt::LeftButton);
        form.OKBtnClick();
        return form.result() == QDialog::Accepted;
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Color(), 0xC0FFEE);
    EXPECT_EQ(dialog.GetTemporaryPalette(27), 0xC0FFEE);
}

TEST(PickerEyedropper, KeyboardReachesThePipetteByTabAndByItsKey)
{
    PickerWindow w;
    w.form.show();
    w.form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.form));
    EXPECT_EQ(w.button->accessibleName(), QStringLiteral("Pick from screen"));
    w.form.ColCelPaintBox->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.form.ColCelPaintBox, Qt::Key_Tab);
    EXPECT_TRUE(w.button->hasFocus());

    w.pick.answer = 0x563412;
    QTest::keyClick(w.button, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.pick.picks, 1);
    EXPECT_EQ(w.form.PaletteColor(5), 0x563412);
}
