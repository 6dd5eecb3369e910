#include "Form1Fixture.h"

#include "../Contrast.h"

#include <QLineEdit>

#include <memory>

namespace {

// The main window with every notation field, the filter field and both text fields filled,
// created and rendered under the application palette in force.
struct TRenderedForm {
    TRecordingMessageSink messages;
    TFixedClock clock{TimeOfDayMs(12, 34, 56, 789)};
    std::unique_ptr<TForm1> form;
    QImage image;

    TRenderedForm()
    {
        TForm1Env env;
        env.Messages = &messages;
        env.Clock = &clock;
        form = std::make_unique<TForm1>(env);
        form->show();
        form->SetColor(13743512);
        form->KanjiEdit->setText(QStringLiteral("POV text"));
        form->UniCodeEdit->setText(QStringLiteral("\\u0050\\u004F"));
        if (QWidget *focused = QApplication::focusWidget())
            focused->clearFocus();
        image = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // Where a control's text is drawn, in window pixels (inside an edit's one-pixel border,
    // right of the lozenge).
    QRect TextArea(QWidget *w) const
    {
        QRect r = w->geometry();
        if (qobject_cast<QLineEdit *>(w))
            return r.adjusted(1, 1, -1, -1);
        if (w == form->LCheckBox)
            r.setLeft(r.left() + 22);
        return r;
    }
};

} // namespace

// A dark desktop changes nothing in the main window: its faces and backgrounds are fixed light
// colours, so its theme colours come from a light palette.
TEST(Form1Look, DarkDesktopPaletteLeavesTheWindowUnchanged)
{
    QImage dark;
    {
        const TAppPaletteScope scope(DarkDesktopPalette());
        dark = TRenderedForm().image;
    }
    const QImage light = TRenderedForm().image;
    ASSERT_EQ(dark.size(), light.size());
    EXPECT_TRUE(dark == light);
}

TEST(Form1Look, EveryThemeColouredTextIsReadableOnADarkDesktop)
{
    const TAppPaletteScope scope(DarkDesktopPalette());
    const TRenderedForm f;
    TForm1 &w = *f.form;
    std::vector<std::pair<QWidget *, bool>> texts; // control, text colour is a theme colour
    for (QLineEdit *e : {w.Edit1, w.Edit2, w.Edit3, w.Edit4, w.Edit5, w.Edit6, w.Edit7, w.Edit8, w.PovEdit, w.FTEdit,
                         w.KanjiEdit, w.UniCodeEdit})
        texts.push_back({e, true});
    texts.push_back({w.Label7, true});
    texts.push_back({w.LCheckBox, true});
    for (QLabel *l : {w.Label2, w.Label3, w.Label4, w.Label10})
        texts.push_back({l, false});
    for (TShineSpeedButton *b : w.findChildren<TShineSpeedButton *>())
        texts.push_back({b, IsThemeColor(b->Font().Color())});
    int themed = 0;
    for (const auto &[control, themeColoured] : texts) {
        const double contrast = TextContrast(f.image, f.TextArea(control));
        EXPECT_GT(contrast, 1.5) << control->objectName().toStdString(); // some ink at all
        if (themeColoured) {
            ++themed;
            EXPECT_GE(contrast, 4.5) << control->objectName().toStdString();
        }
    }
    EXPECT_GE(themed, 20);
}
