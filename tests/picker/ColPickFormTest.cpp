#include "picker/ColPickForm.h"

#include "framework/NumberText.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

TDisplayFormatSource Display(int depth, QImage::Format format)
{
    return [depth, format] { return TDisplayFormat{depth, format}; };
}

// A window opened the way the dialog component opens it, shown without a modal loop, with
// its first field render done.
std::unique_ptr<TColorPickerForm> Open(TColor colour, TColorSwitch mode = csHue,
                                       TDisplayFormatSource display = Display(32, QImage::Format_RGB32))
{
    auto form = std::make_unique<TColorPickerForm>(nullptr, std::move(display));
    const TColor standard[16] = {clRed, clLime, clBlue, clYellow, clAqua, clFuchsia, clWhite, clMaroon,
                                 clGreen, clNavy, clOlive, clTeal, clPurple, clGray, clSilver, clBlack};
    for (int i = 0; i < 16; ++i)
        form->SetPaletteColor(i, standard[i]);
    form->SetColorSwitch(mode);
    form->SetColor(colour);
    form->PreparePicker();
    form->show();
    form->ColListPaintTimerTimer();
    return form;
}

QImage Grab(QWidget *w)
{
    QImage image(w->size(), QImage::Format_RGB32);
    w->render(&image);
    return image;
}

QRgb Rgb(TColor c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

void MoveWithLeftHeld(QWidget *w, QPoint p)
{
    QMouseEvent move(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

// QTest takes the point (0, 0) for "the centre", so presses go in as plain events.
void Press(QWidget *w, Qt::MouseButton button, QPoint p)
{
    QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), button, button, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

void Type(TRawEdit *edit, const QString &text)
{
    edit->clear();
    QTest::keyClicks(edit, text);
}

TEST(PickerOpen, LastMatchingCellIsSelected)
{
    auto form = std::make_unique<TColorPickerForm>(nullptr, Display(32, QImage::Format_RGB32));
    form->SetPaletteColor(3, clYellow);
    form->SetPaletteColor(20, clYellow);
    form->SetColor(clYellow);
    form->PreparePicker();
    EXPECT_EQ(form->Selected(), 20);
    EXPECT_EQ(form->RedEd->text(), "255");
    EXPECT_EQ(form->UHEd->text(), "60");
    EXPECT_EQ(form->UHEd->Tag, 128);
}

TEST(PickerOpen, ColourInNoCellLandsInCell27)
{
    auto form = Open(RGB(1, 2, 3));
    EXPECT_EQ(form->Selected(), 27);
    EXPECT_EQ(form->PaletteColor(27), RGB(1, 2, 3));
    EXPECT_EQ(form->GetShape->BrushColor(), QColor(1, 2, 3));
}

TEST(PickerMode, RadioGroupsHoldTheMode)
{
    auto form = Open(clRed);
    for (TColorSwitch mode : {csHue, csSaturation, csBrightness, csBlue, csGreen, csRed}) {
        form->SetColorSwitch(mode);
        EXPECT_EQ(form->GetColorSwitch(), mode);
        EXPECT_EQ(form->FadeRadioGroup->ItemIndex() >= 0, IsHSBMode(mode));
        EXPECT_EQ(form->ColorRadioGroup->ItemIndex() >= 0, !IsHSBMode(mode));
    }
    QTest::mouseClick(form->FadeRadioGroup->Item(2), Qt::LeftButton);
    EXPECT_EQ(form->GetColorSwitch(), csBrightness);
    EXPECT_EQ(form->ColorRadioGroup->ItemIndex(), -1);
}

TEST(PickerEdits, LettersOrNegativeInRedEdChangeNothing)
{
    auto form = Open(RGB(10, 20, 30));
    for (const QString &text : {QStringLiteral("abc"), QStringLiteral("-5"), QStringLiteral("")}) {
        Type(form->RedEd, text);
        EXPECT_EQ(form->CurrentColor(), RGB(10, 20, 30));
        EXPECT_EQ(form->RedEd->text(), text); // kept as typed
        EXPECT_EQ(form->RedEd->Tag, 10);
        EXPECT_EQ(form->GreenEd->text(), "20");
        EXPECT_EQ(form->UHEd->Tag, 448);
        EXPECT_FALSE(form->ColListPaintTimer->isActive());
    }
}

TEST(PickerEdits, TypedComponentSetsColourAndKeepsTheText)
{
    auto form = Open(RGB(10, 20, 30));
    Type(form->GreenEd, "0200");
    EXPECT_EQ(form->CurrentColor(), RGB(10, 200, 30));
    EXPECT_EQ(form->GreenEd->text(), "0200");
    EXPECT_EQ(form->GreenEd->Tag, 200);
    EXPECT_EQ(form->PaletteColor(27), RGB(10, 200, 30));
    EXPECT_TRUE(form->ColListPaintTimer->isActive());
}

TEST(PickerEdits, TypingIntoUSEdChangesOnlyTheSaturationRaw)
{
    auto form = Open(clLime); // hue raw 256, shown 120, which would type back as 255
    ASSERT_EQ(form->UHEd->Tag, 256);
    Type(form->USEd, "50");
    EXPECT_EQ(form->USEd->Tag, 127);
    EXPECT_EQ(form->UHEd->Tag, 256);
    EXPECT_EQ(form->UBEd->Tag, 255);
    EXPECT_EQ(form->UHEd->text(), "120");
    EXPECT_EQ(form->USEd->text(), "50");
    EXPECT_EQ(form->CurrentColor(), HSBToRGB(PackHSB(256, 127, 255)));
    EXPECT_EQ(form->GreenEd->text(), "255");
    EXPECT_EQ(form->RedEd->text(), IntToStr(GetRValue(HSBToRGB(PackHSB(256, 127, 255)))));
}

TEST(PickerEdits, ValuesAboveTheRangeAreClamped)
{
    auto form = Open(RGB(10, 20, 30));
    Type(form->RedEd, "300");
    EXPECT_EQ(form->CurrentColor(), RGB(255, 20, 30)); // green untouched
    Type(form->BlueEd, "99999");
    EXPECT_EQ(form->CurrentColor(), RGB(255, 20, 255));
    Type(form->UHEd, "2147483647");
    EXPECT_EQ(form->UHEd->Tag, 767);
    Type(form->UBEd, "250");
    EXPECT_EQ(form->UBEd->Tag, 255);
    EXPECT_EQ(form->CurrentColor() & 0xFF000000, 0);
}

TEST(PickerPalette, RightClickCopiesIntoAnotherCellOnly)
{
    auto form = Open(RGB(1, 2, 3));
    const QPoint cell27(6 * 16 + 8, 3 * 16 + 8), cell5(5 * 16 + 8, 8);
    QTest::mouseClick(form->ColCelPaintBox, Qt::RightButton, {}, cell27);
    EXPECT_EQ(form->Selected(), 27);
    EXPECT_EQ(form->PaletteColor(27), RGB(1, 2, 3));
    QTest::mouseClick(form->ColCelPaintBox, Qt::RightButton, {}, cell5);
    EXPECT_EQ(form->PaletteColor(5), RGB(1, 2, 3));
    EXPECT_EQ(form->Selected(), 27);
    const QImage cells = Grab(form->ColCelPaintBox);
    EXPECT_EQ(cells.pixel(cell5), qRgb(1, 2, 3));
    EXPECT_EQ(cells.pixel(6 * 16, 3 * 16 + 8), qRgb(255, 255, 255)); // selected outline
    EXPECT_EQ(cells.pixel(5 * 16, 8), qRgb(0, 0, 0));
}

TEST(PickerPalette, SharedOutlineBelongsToTheCellRightOrBelow)
{
    auto form = Open(RGB(1, 2, 3));
    QTest::mouseClick(form->ColCelPaintBox, Qt::LeftButton, {}, QPoint(16, 5));
    EXPECT_EQ(form->Selected(), 1);
    QTest::mouseClick(form->ColCelPaintBox, Qt::LeftButton, {}, QPoint(5, 16));
    EXPECT_EQ(form->Selected(), 7);
    QTest::mouseClick(form->ColCelPaintBox, Qt::LeftButton, {}, QPoint(16, 16));
    EXPECT_EQ(form->Selected(), 8);
    EXPECT_EQ(form->RedEd->text(), "0");
    EXPECT_EQ(form->GreenEd->text(), "128"); // clGreen
}

TEST(PickerPalette, LeftDragSelectsEachCellPassed)
{
    auto form = Open(RGB(1, 2, 3));
    QTest::mousePress(form->ColCelPaintBox, Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_EQ(form->Selected(), 0);
    for (int x = 4; x <= 60; x += 4) {
        MoveWithLeftHeld(form->ColCelPaintBox, QPoint(x, 4));
        EXPECT_EQ(form->Selected(), x / 16);
    }
    MoveWithLeftHeld(form->ColCelPaintBox, QPoint(500, 4)); // off the cells: stays
    EXPECT_EQ(form->Selected(), 3);
    EXPECT_EQ(form->CurrentColor(), clYellow);
}

TEST(PickerStrip, HueStripTopAndBottomRows)
{
    auto form = Open(clAqua); // hue 384: the marker is in the middle
    const QImage strip = Grab(form->GradPaintBox);
    EXPECT_EQ(strip.pixel(0, 0), Rgb(HSBToRGB(PackHSB(764, 255, 255))));
    EXPECT_EQ(strip.pixel(22, 255), Rgb(clRed));
    QTest::mouseClick(form->GradPaintBox, Qt::LeftButton, {}, QPoint(5, 0));
    EXPECT_EQ(form->UHEd->Tag, 765);
    EXPECT_EQ(form->UHEd->text(), "359");
    EXPECT_EQ(form->CurrentColor(), HSBToRGB(PackHSB(765, 255, 255)));
}

TEST(PickerStrip, MarkerRowForValueZero)
{
    auto hue = Open(clRed, csHue);
    const QImage hueStrip = Grab(hue->GradPaintBox);
    EXPECT_EQ(hueStrip.pixel(5, 255), qRgb(255, 255, 255)); // red sums to 255: white
    EXPECT_EQ(hueStrip.pixel(5, 254), Rgb(HSBToRGB(PackHSB(2, 255, 255))));

    auto sat = Open(clGray, csSaturation);
    const QImage satStrip = Grab(sat->GradPaintBox);
    EXPECT_EQ(satStrip.pixel(5, 254), qRgb(0, 0, 0)); // grey 128 sums to 384: black
    EXPECT_EQ(satStrip.pixel(5, 255), Rgb(clGray));
}

TEST(PickerStrip, RightClickChangesNothingAndDragBelowGivesTheSmallest)
{
    auto form = Open(RGB(100, 150, 200), csGreen);
    QTest::mouseClick(form->GradPaintBox, Qt::RightButton, {}, QPoint(5, 10));
    EXPECT_EQ(form->CurrentColor(), RGB(100, 150, 200));
    QTest::mousePress(form->GradPaintBox, Qt::LeftButton, {}, QPoint(5, 10));
    EXPECT_EQ(form->GreenEd->Tag, 245 * 256 / 256);
    MoveWithLeftHeld(form->GradPaintBox, QPoint(5, 900));
    EXPECT_EQ(form->CurrentColor(), RGB(100, 0, 200));
    EXPECT_EQ(form->GreenEd->text(), "0");
    EXPECT_EQ(form->UHEd->Tag, HSBHue(RGBToHSB(RGB(100, 0, 200))));
}

TEST(PickerField, ClicksInHueModeGiveWhiteAndBlack)
{
    auto form = Open(clAqua);
    Press(form->ColorListPaintBox, Qt::LeftButton, QPoint(0, 0));
    EXPECT_EQ(form->CurrentColor(), clWhite);
    EXPECT_EQ(form->USEd->Tag, 0);
    EXPECT_EQ(form->UBEd->Tag, 255);
    EXPECT_EQ(form->UHEd->Tag, 384); // the hue raw is kept
    EXPECT_FALSE(form->ColListPaintTimer->isActive()); // a field click does not re-render
    QTest::mouseClick(form->ColorListPaintBox, Qt::RightButton, {}, QPoint(200, 255));
    EXPECT_EQ(form->CurrentColor(), clBlack);
    EXPECT_EQ(form->RedEd->text(), "0");
}

TEST(PickerField, FieldShowsTheModeAndTheMarker)
{
    auto form = Open(RGB(40, 90, 160));
    const TPickerValues v = form->Values();
    int x = 0, y = 0;
    HSBToFieldPos(csHue, PackHSB(v.Hue, v.Saturation, v.Brightness), x, y);
    QImage field = Grab(form->ColorListPaintBox);
    EXPECT_EQ(field.pixel(10, 10), Rgb(FieldColor(csHue, v, 10, 10)));
    const QRgb marker = Rgb(MarkerColorOn(FieldColor(csHue, v, x, y)));
    EXPECT_EQ(field.pixel(x + 4, y), marker);
    EXPECT_EQ(field.pixel(x - 4, y), marker);
    EXPECT_EQ(field.pixel(x, y), Rgb(FieldColor(csHue, v, x, y)));

    // Switching to red re-renders the field and moves the marker.
    QTest::mouseClick(form->ColorRadioGroup->Item(0), Qt::LeftButton);
    ASSERT_EQ(form->GetColorSwitch(), csRed);
    EXPECT_TRUE(form->ColListPaintTimer->isActive());
    form->ColListPaintTimerTimer();
    field = Grab(form->ColorListPaintBox);
    EXPECT_EQ(field.pixel(10, 10), Rgb(FieldColor(csRed, form->Values(), 10, 10)));
    RGBToFieldPos(csRed, RGB(40, 90, 160), x, y);
    EXPECT_EQ(x, 160);
    EXPECT_EQ(y, 255 - 90);
    EXPECT_EQ(field.pixel(x + 4, y), Rgb(MarkerColorOn(FieldColor(csRed, form->Values(), x, y))));
}

TEST(PickerField, DragLeavingTheFieldStaysOnItsEdge)
{
    auto form = Open(clAqua);
    QTest::mousePress(form->ColorListPaintBox, Qt::LeftButton, {}, QPoint(100, 100));
    MoveWithLeftHeld(form->ColorListPaintBox, QPoint(400, -60));
    EXPECT_EQ(form->USEd->Tag, 255);
    EXPECT_EQ(form->UBEd->Tag, 255);
    EXPECT_EQ(form->CurrentColor(), HSBToRGB(PackHSB(384, 255, 255)));
    MoveWithLeftHeld(form->ColorListPaintBox, QPoint(-30, 300));
    EXPECT_EQ(form->USEd->Tag, 0);
    EXPECT_EQ(form->UBEd->Tag, 0);
    // Moves without the button change nothing.
    QMouseEvent move(QEvent::MouseMove, QPointF(50, 50), QPointF(50, 50), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(form->ColorListPaintBox, &move);
    EXPECT_EQ(form->UBEd->Tag, 0);
}

struct TDepthCase {
    int depth;
    QImage::Format format;
    int tolerance; // 16-bit pixels keep five bits per channel
};

class PickerDepth : public testing::TestWithParam<TDepthCase> {};

TEST_P(PickerDepth, BufferedRenderShowsTheField)
{
    const TDepthCase &c = GetParam();
    auto form = Open(RGB(200, 60, 90), csSaturation, Display(c.depth, c.format));
    ASSERT_EQ(form->PixelFormat().BitsPerPixel, c.depth);
    const QImage &field = form->FieldBitmap();
    for (int y = 0; y < 256; y += 15)
        for (int x = 0; x < 256; x += 15) {
            const TColor want = FieldColor(csSaturation, form->Values(), x, y);
            const QRgb got = field.pixel(x, y);
            ASSERT_NEAR(qRed(got), GetRValue(want), c.tolerance);
            ASSERT_NEAR(qGreen(got), GetGValue(want), c.tolerance);
            ASSERT_NEAR(qBlue(got), GetBValue(want), c.tolerance);
        }
}

INSTANTIATE_TEST_SUITE_P(Depths, PickerDepth,
                         testing::Values(TDepthCase{16, QImage::Format_RGB16, 7}, TDepthCase{16, QImage::Format_RGB555, 7},
                                         TDepthCase{24, QImage::Format_BGR888, 0}, TDepthCase{24, QImage::Format_RGB888, 0},
                                         TDepthCase{32, QImage::Format_RGB32, 0}));

bool WithinDither(const QImage &field, TColorSwitch mode, const TPickerValues &v)
{
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const TColor want = FieldColor(mode, v, x, y);
            const QRgb got = field.pixel(x, y);
            if (std::abs(qRed(got) - GetRValue(want)) > 48 || std::abs(qGreen(got) - GetGValue(want)) > 48
                || std::abs(qBlue(got) - GetBValue(want)) > 48)
                return false;
        }
    return true;
}

TEST(PickerDither, OtherDepthsPlotTheWholeFieldDithered)
{
    auto form = Open(RGB(30, 30, 220), csRed, Display(8, QImage::Format_Indexed8));
    EXPECT_EQ(form->PixelFormat().BitsPerPixel, 0);
    EXPECT_EQ(form->RenderPasses(), 1);
    EXPECT_TRUE(form->FieldIdle());
    EXPECT_TRUE(WithinDither(form->FieldBitmap(), csRed, form->Values()));
    int exact = 0;
    for (int x = 0; x < 256; ++x)
        exact += form->FieldBitmap().pixel(x, 100) == Rgb(FieldColor(csRed, form->Values(), x, 100));
    EXPECT_LT(exact, 64); // it is dithered
}

TEST(PickerDither, ChangeDuringTheRenderStartsItOver)
{
    auto form = Open(RGB(30, 30, 220), csRed, Display(8, QImage::Format_Indexed8));
    Type(form->RedEd, "250");
    ASSERT_TRUE(form->ColListPaintTimer->isActive());
    form->ColListPaintTimer->stop();
    // Runs after the first row, while the render lets events through.
    QTimer::singleShot(0, form.get(), [&form] { Type(form->RedEd, "0"); });
    form->ColListPaintTimerTimer();
    EXPECT_EQ(form->RenderPasses(), 3);
    EXPECT_FALSE(form->Rendering());
    EXPECT_FALSE(form->ColListPaintTimer->isActive());
    EXPECT_TRUE(WithinDither(form->FieldBitmap(), csRed, form->Values()));
    EXPECT_EQ(form->Values().Red, 0);
}

TEST(PickerClose, OKDuringARenderClosesAtATickWithTheColourThen)
{
    auto form = Open(RGB(30, 30, 220), csBlue, Display(8, QImage::Format_Indexed8));
    Type(form->BlueEd, "10");
    form->ColListPaintTimer->stop();
    QTimer::singleShot(0, form.get(), [&form] {
        form->OKBtnClick();
        EXPECT_TRUE(form->isVisible());
        QTest::mouseClick(form->ColCelPaintBox, Qt::LeftButton, {}, QPoint(8, 8)); // cell 0, red
    });
    form->ColListPaintTimerTimer();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->OKCancelTimer->isActive());
    EXPECT_EQ(form->OKCancelTimer->interval(), 100);
    EXPECT_TRUE(QTest::qWaitFor([&form] { return !form->isVisible(); }, 2000));
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(form->Color(), clRed);
}

enum TCloseWay { cwCancelButton, cwEscape, cwCloseBox };

class PickerCancel : public testing::TestWithParam<TCloseWay> {};

TEST_P(PickerCancel, HandsNothingBack)
{
    auto form = Open(RGB(1, 2, 3));
    Type(form->RedEd, "99");
    ASSERT_EQ(form->CurrentColor(), RGB(99, 2, 3));
    switch (GetParam()) {
    case cwCancelButton: QTest::mouseClick(form->CancelBtn, Qt::LeftButton); break;
    case cwEscape: QTest::keyClick(form->OKBtn, Qt::Key_Escape); break;
    case cwCloseBox: form->close(); break;
    }
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_EQ(form->Color(), RGB(1, 2, 3));
}

INSTANTIATE_TEST_SUITE_P(Ways, PickerCancel, testing::Values(cwCancelButton, cwEscape, cwCloseBox));

TEST(PickerClose, OKHandsTheSelectedColourBack)
{
    auto form = Open(RGB(1, 2, 3), csGreen);
    Type(form->RedEd, "99");
    QTest::mouseClick(form->OKBtn, Qt::LeftButton);
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(form->Color(), RGB(99, 2, 3));
    EXPECT_EQ(form->PaletteColor(27), RGB(99, 2, 3));
    EXPECT_EQ(form->GetColorSwitch(), csGreen);
}

} // namespace
