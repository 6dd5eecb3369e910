#include "picker/ColPickForm.h"

#include "../Contrast.h"
#include "../HighDpi.h"
#include "OpenPicker.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

namespace {

QImage RenderOne(QWidget &w)
{
    QImage img(w.size(), QImage::Format_RGB32);
    w.render(&img);
    return img;
}

QRgb Rgb(TColor c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

} // namespace

TEST(PickerHighDpi, StripAndCellsAreTheirPixelsAtTheDisplaysResolution)
{
    auto form = OpenAt(RGB(40, 90, 160), csSaturation);
    for (QWidget *w : {static_cast<QWidget *>(form->GradPaintBox), static_cast<QWidget *>(form->ColCelPaintBox)}) {
        const QImage one = RenderOne(*w);
        const QImage two = RenderAt(*w, 2);
        ASSERT_EQ(two.size(), one.size() * 2);
        // Rows of one colour and one-pixel outlines: exact, neither blurred nor shifted.
        EXPECT_TRUE(IsDoubled(two, one, QRect(QPoint(0, 0), one.size())));
    }
}

TEST(PickerHighDpi, FieldShowsItsPixelsWithASharpMarkerRoundTheChosenPixel)
{
    auto form = OpenAt(RGB(40, 90, 160), csHue);
    const TPickerValues v = form->Values();
    int x = 0, y = 0;
    HSBToFieldPos(csHue, PackHSB(v.Hue, v.Saturation, v.Brightness), x, y);
    const QImage two = RenderAt(*form->ColorListPaintBox, 2);
    const QRgb marker = Rgb(MarkerColorOn(FieldColor(csHue, v, x, y)));
    const QRect ring(x - 5, y - 5, 11, 11);
    for (int dy = 0; dy < two.height(); dy += 3)
        for (int dx = 0; dx < two.width(); dx += 3)
            if (!ring.contains(dx / 2, dy / 2)) {
                ASSERT_EQ(two.pixel(dx, dy), Rgb(FieldColor(csHue, v, dx / 2, dy / 2))) << dx << "," << dy;
            }
    EXPECT_TRUE(HasHalfPixelDetail(two, ring));
    // The ring is centred on the middle of the chosen pixel: device column 2x + 1/2 each way.
    int left = two.width(), right = -1, top = two.height(), bottom = -1;
    for (int dy = 2 * ring.top(); dy < 2 * (ring.bottom() + 1); ++dy)
        for (int dx = 2 * ring.left(); dx < 2 * (ring.right() + 1); ++dx)
            if (two.pixel(dx, dy) == marker) {
                left = std::min(left, dx);
                right = std::max(right, dx);
                top = std::min(top, dy);
                bottom = std::max(bottom, dy);
            }
    EXPECT_EQ(left + right, 4 * x + 1);
    EXPECT_EQ(top + bottom, 4 * y + 1);
    EXPECT_NEAR(right - left + 1, 18, 1); // eight pixels across plus the line, as at ratio 1
}

TEST(PickerHighDpi, RenderMakesTheFieldAtTheDisplaysRatio)
{
    auto one = OpenAt(RGB(200, 100, 50), csSaturation, 1);
    EXPECT_TRUE(one->FieldDeviceBitmap().isNull());
    auto two = OpenAt(RGB(200, 100, 50), csSaturation, 2);
    const QImage &device = two->FieldDeviceBitmap();
    ASSERT_EQ(device.size(), QSize(512, 512));
    EXPECT_EQ(device.devicePixelRatio(), 2.0);
    EXPECT_TRUE(IsDoubled(device, two->FieldBitmap(), QRect(0, 0, 256, 256)));
    // What the paint box shows at that ratio is that image, marker aside.
    const QImage shown = RenderAt(*two->ColorListPaintBox, 2);
    EXPECT_EQ(shown.pixel(20, 30), device.pixel(20, 30));
}

// The picker follows the desktop's palette like any other window, and its texts stay readable.
TEST(PickerLook, FollowsADarkDesktopPaletteReadably)
{
    const TAppPaletteScope scope(DarkDesktopPalette());
    auto form = OpenAt(RGB(40, 90, 160), csHue);
    EXPECT_EQ(form->palette().color(QPalette::Window), DarkDesktopPalette().color(QPalette::Button));
    const QImage img = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
    auto areaOf = [&](QWidget *w) { return QRect(w->mapTo(form.get(), QPoint(0, 0)), w->size()); };
    std::vector<QWidget *> texts = {form->Label1, form->RedEd, form->UHEd, form->OKBtn, form->CancelBtn};
    for (int i = 0; i < 3; ++i) {
        texts.push_back(form->FadeRadioGroup->Item(i));
        texts.push_back(form->ColorRadioGroup->Item(i));
    }
    for (QWidget *w : texts) {
        QRect area = areaOf(w);
        if (qobject_cast<QRadioButton *>(w))
            area.setLeft(area.left() + 20); // the caption, not the indicator
        if (qobject_cast<QLineEdit *>(w))
            area.adjust(3, 3, -3, -3);      // the text, not the frame
        EXPECT_GE(TextContrast(img, area), 4.5) << w->metaObject()->className();
    }
}
