#include "Form1Fixture.h"

#include "app/ConvertNotations.h"
#include "app/NotationsWindow.h"

#include <QLineEdit>

namespace {

class ConvertNotations : public Form1Fixture {};

// What the command line prints is byte for byte what the windows show and copy.
TEST_F(ConvertNotations, EveryNameGivesTheWindowsOwnText)
{
    form->NotationsClick();
    for (TColor c : {TColor(0x00D1B598), clAqua, TColor(0), TColor(0x00070707), TColor(0x0080FF01), TColor(0x02123456)}) {
        for (bool srgb : {false, true}) {
            form->fSrgb = srgb;
            form->SetColor(c);
            const QStringList expected = {form->PovEdit->text(), form->fRgbfText, form->fRgbtText, form->Edit4->text(),
                                          form->Edit5->text(),
                                          form->Edit6->text() + ", " + form->Edit7->text() + ", " + form->Edit8->text(),
                                          form->Edit1->text() + ", " + form->Edit2->text() + ", " + form->Edit3->text(),
                                          form->Label7->text()};
            const QStringList names = NotationNames();
            const TConversion all = ConvertColour(c, names, srgb);
            ASSERT_EQ(all.Lines.size(), names.size());
            EXPECT_EQ(all.Lines.mid(0, 8), expected) << c;
            const TNotationsWindow *w = form->NotationsWindow();
            for (int i = 0; i < w->RowCount(); ++i)
                EXPECT_EQ(all.Lines[8 + i], w->RowEdit(i)->text()) << names[8 + i].toStdString();
            EXPECT_EQ(ConvertColour(c, {}, srgb).Lines.first(), QStringLiteral("rgb: ") + expected.first());
        }
    }
    EXPECT_EQ(ConvertColour(0, {QStringLiteral("html"), QStringLiteral("nope")}, false).UnknownName, QStringLiteral("nope"));
}

} // namespace
