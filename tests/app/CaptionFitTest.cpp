// Every caption of the main window and of the picker window stays inside its control, in every
// font the control draws with: the pixels a caption's text puts down are found by drawing it
// on a larger transparent image, then compared with the area the control leaves for it. A pixel
// counts as ink from half coverage on: a faint antialiasing fringe under a frame line is not a
// cut stroke.
#include "Form1Fixture.h"
#include "framework/Fonts.h"
#include "picker/ColPickForm.h"
#include "picker/PickerControls.h"

#include <QFontInfo>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>

#include <string>

namespace {

// The bounding box of the pixels that `text` covers at least half when drawn into `box` with `flags`.
QRect InkOf(const QFont &font, const QString &text, const QRect &box, int flags)
{
    constexpr int Pad = 64;
    QImage img(box.width() + 2 * Pad, box.height() + 2 * Pad, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(box.translated(Pad - box.left(), Pad - box.top()), flags | Qt::TextDontClip, text);
    }
    QRect ink;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) >= 128)
                ink |= QRect(x, y, 1, 1);
    return ink.translated(box.left() - Pad, box.top() - Pad);
}

std::string Describe(const QString &what, const QFont &font, const QRect &ink, const QRect &room)
{
    const auto r = [](const QRect &q) {
        return QStringLiteral("[%1..%2] x [%3..%4]").arg(q.left()).arg(q.right()).arg(q.top()).arg(q.bottom());
    };
    return QStringLiteral("%1 in %2 %3 px: ink %4, room %5")
        .arg(what, QFontInfo(font).family())
        .arg(font.pixelSize())
        .arg(r(ink), r(room))
        .toStdString();
}

const char *StateName(TShineButtonState s)
{
    switch (s) {
    case sbHotDown: return "hot-down";
    case sbDown: return "down";
    case sbHot: return "hot";
    case sbUp: return "up";
    case sbDisabled: return "disabled";
    }
    return "?";
}

// What a shine button leaves its caption in one state: the whole face, or the inside of the
// frame that state draws over it (the raised frame takes one column on the left and two on the
// right, the sunken one two on the left and one on the right).
QRect CaptionRoom(const TShineSpeedButton &b, TShineButtonState s)
{
    const bool down = s == sbHotDown || s == sbDown;
    const bool framed = s == sbHot || s == sbHotDown ? b.ActiveFrame() : s == sbDown ? b.DownFrame() : b.UpFrame();
    if (!framed)
        return b.rect();
    return down ? b.rect().adjusted(2, 2, -1, -1) : b.rect().adjusted(1, 1, -2, -2);
}

} // namespace

using CaptionFit = Form1Fixture;

TEST_F(CaptionFit, EveryButtonCaptionStaysInsideItsFrameInBothFontsOfEveryState)
{
    const auto buttons = form->findChildren<TShineSpeedButton *>();
    ASSERT_EQ(buttons.size(), 20);
    for (TShineSpeedButton *b : buttons) {
        ASSERT_EQ(b->FrameType(), ftNormalFrame);
        ASSERT_EQ(b->Alignment(), taCenter);
        for (TShineButtonState s : {sbUp, sbHot, sbHotDown, sbDown}) {
            const bool active = s == sbHot || s == sbHotDown;
            const QFont &font = active ? b->ActiveFont().Get() : b->Font().Get();
            const int accel = b->ShowAccelChar() ? int(Qt::TextShowMnemonic) : 0;
            TButtonLayoutInput in;
            in.Client = b->size();
            in.HasCaption = true;
            in.TextSize = QFontMetrics(font).boundingRect(QRect(0, 0, b->width(), 0), Qt::AlignLeft | Qt::AlignTop | accel, b->Caption()).size();
            in.Layout = b->Layout();
            in.Margin = b->Margin();
            in.Spacing = b->Spacing();
            in.AlMargin = b->AlMargin();
            QRect text = CalcButtonLayout(in).TextRect;
            if (s == sbHotDown || s == sbDown)
                text.translate(1, 1);
            const QRect ink = InkOf(font, b->Caption(), text, Qt::AlignHCenter | Qt::AlignTop | accel);
            const QRect room = CaptionRoom(*b, s);
            EXPECT_TRUE(room.contains(ink))
                << b->objectName().toStdString() << " " << StateName(s) << ": " << Describe(b->Caption(), font, ink, room);
        }
    }
}

TEST_F(CaptionFit, PigmentCaptionEndsInsideTheCheckBoxEnabledOrNot)
{
    TLozengeCheckBox *box = form->LCheckBox;
    const int width = box->width();
    // The caption starts at a fixed column, so a wider box shows where its ink would end.
    box->resize(width + 60, box->height());
    for (bool enabled : {true, false}) {
        box->SetEnabled(enabled);
        QImage img(box->size(), QImage::Format_RGB32);
        box->render(&img);
        const QRgb face = img.pixel(img.width() - 1, 0);
        int right = -1;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 22; x < img.width(); ++x)
                if (img.pixel(x, y) != face)
                    right = std::max(right, x);
        EXPECT_GT(right, 22);
        EXPECT_LT(right, width) << (enabled ? "enabled" : "disabled") << ": ink ends at column " << right << " of " << width << " in "
                                << QFontInfo(box->font()).family().toStdString();
    }
    box->resize(width, box->height());
}

TEST_F(CaptionFit, RowAndColumnTitlesFitTheirLabels)
{
    for (QLabel *l : {form->Label2, form->Label3, form->Label4, form->Label10}) {
        const QRect ink = InkOf(l->font(), l->text(), l->contentsRect(), int(l->alignment()));
        EXPECT_LE(ink.right(), l->contentsRect().right()) << Describe(l->text(), l->font(), ink, l->contentsRect());
        EXPECT_GE(ink.left(), 0) << l->text().toStdString();
    }
}

TEST(PickerCaptionFit, EveryCaptionOfThePickerWindowFitsItsControl)
{
    TColorPickerForm picker(nullptr, {});
    picker.show();

    for (TRadioGroup *group : {picker.FadeRadioGroup, picker.ColorRadioGroup})
        for (QRadioButton *item : group->findChildren<QRadioButton *>()) {
            QStyleOptionButton opt;
            opt.initFrom(item);
            opt.text = item->text();
            const QRect contents = item->style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, item);
            const QRect ink = InkOf(item->font(), item->text(), contents, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic);
            EXPECT_TRUE(item->rect().contains(ink)) << Describe(item->text(), item->font(), ink, item->rect());
        }

    for (QGroupBox *box : {static_cast<QGroupBox *>(picker.FadeRadioGroup), static_cast<QGroupBox *>(picker.ColorRadioGroup), picker.ColorPanel}) {
        QStyleOptionGroupBox opt;
        opt.initFrom(box);
        opt.text = box->title();
        opt.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect label = box->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, box);
        const QRect ink = InkOf(box->font(), box->title(), label, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic);
        EXPECT_TRUE(box->rect().contains(ink)) << Describe(box->title(), box->font(), ink, box->rect());
    }

    for (QPushButton *button : {picker.OKBtn, picker.CancelBtn}) {
        QStyleOptionButton opt;
        opt.initFrom(button);
        opt.text = button->text();
        const QRect contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, button);
        const QRect ink = InkOf(button->font(), button->text(), contents, Qt::AlignCenter | Qt::TextShowMnemonic);
        EXPECT_TRUE(contents.contains(ink)) << Describe(button->text(), button->font(), ink, contents);
    }

    // "select color" is the title of the bevel it sits on.
    const QRect label = picker.Label1->geometry();
    EXPECT_LE(label.right(), 8 + 129 - 1) << label.right();
}

TEST(Fonts, EverySubstituteIsInstalledAndTheGothicKeepsItsJapaneseGlyphs)
{
    for (const TFontSubstitute &s : FontSubstitutes()) {
        const QFont font = MakeFont(s.Family, 15);
        EXPECT_EQ(QFontInfo(font).family(), s.Faces.first())
            << s.Family.toStdString() << " is not drawn with " << s.Faces.first().toStdString() << ": install "
            << s.Package.toStdString() << " (scripts/setup)";
    }
    const QFontMetrics gothic(DefaultWindowFont());
    for (char32_t c : {U'あ', U'ア', U'ｱ', U'漢', U'字', U'ー', U'、', U'Ａ', U'￥', U'ゴ'})
        EXPECT_TRUE(gothic.inFontUcs4(c)) << "U+" << std::hex << static_cast<unsigned>(c);
}
