#include "picker/ColPickDlg.h"
#include "picker/ColPickForm.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPointer>

#include <cstdint>
#include <vector>

namespace {

// A dialog whose window is answered without a modal loop: `user` acts on the prepared window,
// then OK (true) or Cancel (false) closes it.
struct Picker {
    TColorPickerDialog dialog;
    int selectedAtStart = -1;
    std::function<void(TColorPickerForm &)> user = [](TColorPickerForm &) {};

    bool Run(bool ok)
    {
        dialog.Runner = [this, ok](TColorPickerForm &form) {
            form.PreparePicker();
            selectedAtStart = form.Selected();
            user(form);
            if (ok)
                form.OKBtnClick();
            else
                form.CancelBtnClick();
            return form.result() == QDialog::Accepted;
        };
        return dialog.Execute();
    }
};

} // namespace

TEST(PickerExecute, CancelTakesNothingBackEvenAfterTheUserChangedCells)
{
    Picker p;
    for (int i = 0; i < TemporaryPaletteCount; ++i)
        p.dialog.SetTemporaryPalette(i, i * 1000);
    p.dialog.SetColor(0x123456);
    p.dialog.SetColorSwitch(csRed);
    p.user = [](TColorPickerForm &form) {
        form.SetPaletteColor(5, 0xABCDEF);
        form.SetColorSwitch(csGreen);
    };
    EXPECT_FALSE(p.Run(false));
    for (int i = 0; i < TemporaryPaletteCount; ++i)
        EXPECT_EQ(p.dialog.GetTemporaryPalette(i), i * 1000) << i;
    EXPECT_EQ(p.dialog.Color(), 0x123456);
    EXPECT_EQ(p.dialog.ColorSwitch(), csRed);
}

TEST(PickerExecute, StartsOnTheLastCellHoldingTheColour)
{
    Picker p;
    p.dialog.SetTemporaryPalette(4, clAqua);
    p.dialog.SetTemporaryPalette(27, clAqua);
    p.dialog.SetColor(clAqua);
    EXPECT_TRUE(p.Run(true));
    EXPECT_EQ(p.selectedAtStart, 27);
}

TEST(PickerExecute, ColourInNoCellLandsInTheLastCell)
{
    Picker p;
    p.dialog.SetColor(0x00D1B598);
    EXPECT_TRUE(p.Run(true));
    EXPECT_EQ(p.selectedAtStart, 27);
    EXPECT_EQ(p.dialog.GetTemporaryPalette(27), 0x00D1B598);
    EXPECT_EQ(p.dialog.Color(), 0x00D1B598);
}

TEST(PickerExecute, OkTakesBackChangedCellsModeAndColourButKeepsUntouchedThemeColours)
{
    Picker p;
    p.dialog.SetTemporaryPalette(3, clBtnFace);
    p.dialog.SetTemporaryPalette(4, clHighlight);
    p.dialog.SetColor(clBtnFace);
    p.user = [](TColorPickerForm &form) {
        form.SetPaletteColor(4, 0x010203);
        form.SetColorSwitch(csBlue);
    };
    EXPECT_TRUE(p.Run(true));
    EXPECT_EQ(p.dialog.GetTemporaryPalette(3), clBtnFace);
    EXPECT_EQ(p.dialog.GetTemporaryPalette(4), 0x010203);
    EXPECT_EQ(p.dialog.Color(), clBtnFace); // the selected cell still shows its resolved value
    EXPECT_EQ(p.dialog.ColorSwitch(), csBlue);
}

TEST(PickerExecute, OkKeepsAHighByteOfAPlainValueTheUserLeftAlone)
{
    Picker p;
    p.dialog.SetTemporaryPalette(20, 0x02123456);
    p.dialog.SetTemporaryPalette(27, 0x01D1B598);
    p.dialog.SetColor(0x01D1B598);
    EXPECT_TRUE(p.Run(true));
    EXPECT_EQ(p.selectedAtStart, 27);
    EXPECT_EQ(p.dialog.Color(), 0x01D1B598);
    EXPECT_EQ(p.dialog.GetTemporaryPalette(20), 0x02123456);
    EXPECT_EQ(p.dialog.GetTemporaryPalette(27), 0x01D1B598);

    // What the user changes comes back as the plain value the window holds.
    p.user = [](TColorPickerForm &form) {
        form.SetPaletteColor(20, 0x00ABCDEF);
        form.ColorListPaintBoxMouseDown(Qt::LeftButton, 0, 0);
    };
    EXPECT_TRUE(p.Run(true));
    EXPECT_EQ(p.dialog.GetTemporaryPalette(20), 0x00ABCDEF);
    EXPECT_EQ(static_cast<std::uint32_t>(p.dialog.Color()) >> 24, 0u);
    EXPECT_NE(p.dialog.Color(), 0x00D1B598);
}

// The style keeps what it draws the window's controls with under their palette; a palette of
// their own for every opening would leave a new set of pixmaps behind each time.
TEST(PickerExecute, EveryOpeningDrawsItsControlsWithTheSamePalettes)
{
    Picker p;
    std::vector<qint64> first, second;
    std::vector<qint64> *keys = &first;
    p.user = [&](TColorPickerForm &form) {
        keys->push_back(form.palette().cacheKey());
        for (const QWidget *w : form.findChildren<QWidget *>())
            keys->push_back(w->palette().cacheKey());
    };
    p.Run(true);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    keys = &second;
    p.Run(true);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first, second);
}

TEST(PickerExecute, WindowIsReleasedAfterItsLoop)
{
    Picker p;
    QPointer<TColorPickerForm> window;
    p.user = [&](TColorPickerForm &form) { window = &form; };
    p.Run(true);
    ASSERT_FALSE(window.isNull()); // not inside Execute
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}
