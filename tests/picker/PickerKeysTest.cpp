// The picker window without a mouse, and as a screen reader sees it: keys in the field, the
// strip and the palette act as a click where they move to; every control is named; the mode
// choices are radio buttons whose actions choose exactly their mode.
#include "picker/ColPickForm.h"

#include "../HighDpi.h"
#include "OpenPicker.h"

#include "framework/Announcer.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QPushButton>
#include <QSet>
#include <QTest>

#include <memory>

namespace {

QPoint Marker(const TColorPickerForm &form)
{
    const TColorSwitch mode = form.GetColorSwitch();
    const TPickerValues v = form.Values();
    int x = 0, y = 0;
    if (IsHSBMode(mode))
        HSBToFieldPos(mode, PackHSB(v.Hue, v.Saturation, v.Brightness), x, y);
    else
        RGBToFieldPos(mode, v.Blue * 65536 + v.Green * 256 + v.Red, x, y);
    return {x, y};
}

// Everything the keys and the mouse can change.
std::vector<int> State(const TColorPickerForm &form)
{
    const TPickerValues v = form.Values();
    return {v.Hue, v.Saturation, v.Brightness, v.Red, v.Green, v.Blue, static_cast<int>(v.Color), form.Selected(),
            form.UHEd->text().toInt(), form.USEd->text().toInt(), form.UBEd->text().toInt()};
}

QImage Render(QWidget &w, qreal ratio)
{
    return RenderAt(w, ratio);
}

const TColorSwitch AllModes[] = {csHue, csSaturation, csBrightness, csBlue, csGreen, csRed};

TEST(PickerKeys, FieldArrowsMoveTheMarkerAsAClickThereWould)
{
    for (TColorSwitch mode : AllModes) {
        auto keys = OpenAt(RGB(40, 90, 160), mode);
        auto mouse = OpenAt(RGB(40, 90, 160), mode);
        const QPoint start = Marker(*keys);
        const struct {
            Qt::Key key;
            Qt::KeyboardModifiers mods;
            QPoint move;
        } steps[] = {{Qt::Key_Right, {}, {1, 0}},  {Qt::Key_Down, {}, {0, 1}},
                     {Qt::Key_Left, Qt::ShiftModifier, {-10, 0}}, {Qt::Key_Up, Qt::ShiftModifier, {0, -10}}};
        QPoint at = start;
        for (const auto &step : steps) {
            QTest::keyClick(keys->ColorListPaintBox, step.key, step.mods);
            at += step.move;
            mouse->ColorListPaintBoxMouseDown(Qt::LeftButton, at.x(), at.y());
            EXPECT_EQ(Marker(*keys), at) << mode;
            EXPECT_EQ(State(*keys), State(*mouse)) << mode;
        }
    }
}

TEST(PickerKeys, FieldMarkerStopsAtTheEdge)
{
    auto form = OpenAt(clWhite, csHue); // saturation 0, brightness 255: the top left corner
    ASSERT_EQ(Marker(*form), QPoint(0, 0));
    const std::vector<int> before = State(*form);
    QTest::keyClick(form->ColorListPaintBox, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(form->ColorListPaintBox, Qt::Key_Up);
    EXPECT_EQ(State(*form), before);
    EXPECT_EQ(Marker(*form), QPoint(0, 0));
}

TEST(PickerKeys, StripKeysMoveItsValueAsAClickOnTheRowWould)
{
    for (TColorSwitch mode : AllModes) {
        auto keys = OpenAt(RGB(40, 90, 160), mode);
        auto mouse = OpenAt(RGB(40, 90, 160), mode);
        const struct {
            Qt::Key key;
            int row; // the row the key moves to, from the row before it; -1: the top, 999: the bottom
            bool relative;
        } steps[] = {{Qt::Key_Up, -1, true},      {Qt::Key_Up, -1, true},       {Qt::Key_Down, 1, true},
                     {Qt::Key_PageUp, -16, true}, {Qt::Key_PageDown, 16, true}, {Qt::Key_Home, 0, false},
                     {Qt::Key_End, 255, false}};
        int row = StripClickRow(mode, keys->Values());
        for (const auto &step : steps) {
            QTest::keyClick(keys->GradPaintBox, step.key);
            row = step.relative ? row + step.row : step.row;
            mouse->GradPaintBoxMouseDown(Qt::LeftButton, 0, row);
            EXPECT_EQ(State(*keys), State(*mouse)) << mode << " key " << step.key;
            EXPECT_EQ(StripClickRow(mode, keys->Values()), row) << mode;
        }
        const std::vector<int> bottom = State(*keys);
        QTest::keyClick(keys->GradPaintBox, Qt::Key_Down);
        EXPECT_EQ(State(*keys), bottom) << "the strip's end stops the keys";
    }
}

TEST(PickerKeys, PaletteCursorMovesAndReturnSelectsWhileCtrlFills)
{
    auto form = OpenAt(RGB(1, 2, 3), csHue); // lands in cell 27, bottom right
    ASSERT_EQ(form->PaletteCursor(), 27);
    QTest::keyClick(form->ColCelPaintBox, Qt::Key_Right); // stays: the last column
    QTest::keyClick(form->ColCelPaintBox, Qt::Key_Down);  // stays: the last row
    EXPECT_EQ(form->PaletteCursor(), 27);
    QTest::keyClick(form->ColCelPaintBox, Qt::Key_Up);
    QTest::keyClick(form->ColCelPaintBox, Qt::Key_Home);
    EXPECT_EQ(form->PaletteCursor(), 14);
    EXPECT_EQ(form->Selected(), 27) << "moving the cursor selects nothing";

    // Ctrl+Space fills the cell with the current colour, as a right click does.
    QTest::keyClick(form->ColCelPaintBox, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(form->PaletteColor(14), RGB(1, 2, 3));
    EXPECT_EQ(form->Selected(), 27);

    QTest::keyClick(form->ColCelPaintBox, Qt::Key_Left);
    QTest::keyClick(form->ColCelPaintBox, Qt::Key_Up);
    QTest::keyClick(form->ColCelPaintBox, Qt::Key_Right);
    EXPECT_EQ(form->PaletteCursor(), 8);
    QTest::keyClick(form->ColCelPaintBox, Qt::Key_Return);
    EXPECT_EQ(form->Selected(), 8);
    EXPECT_EQ(form->RedEd->text(), QString::number(GetRValue(form->PaletteColor(8))));
    EXPECT_EQ(form->result(), 0) << "Return in the palette selects and leaves the window open";
    QTest::keyClick(form->ColCelPaintBox, Qt::Key_End);
    QTest::keyClick(form->ColCelPaintBox, Qt::Key_Space);
    EXPECT_EQ(form->Selected(), 13);

    // A click moves the cursor to the cell it selects.
    const QPoint cell2 = TColorPickerForm::CellCentre(2);
    form->ColCelPaintBoxMouseDown(Qt::LeftButton, cell2.x(), cell2.y());
    EXPECT_EQ(form->PaletteCursor(), 2);
}

TEST(PickerKeys, TabReachesTheFieldStripAndPaletteAfterTheModeChoices)
{
    auto form = OpenAt(RGB(40, 90, 160), csHue);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->ColorRadioGroup->Item(2)->setFocus(Qt::TabFocusReason);
    QList<QWidget *> walked;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked << QApplication::focusWidget();
    }
    EXPECT_EQ(walked, (QList<QWidget *>{form->ColorListPaintBox, form->GradPaintBox, form->ColCelPaintBox, form->OKBtn}));
    // A click does not take the focus, so what the mouse sees stays as it was.
    EXPECT_EQ(form->ColorListPaintBox->focusPolicy(), Qt::TabFocus);
}

TEST(PickerKeys, FocusIsDrawnOnlyWhileFocusedAtEveryRatio)
{
    auto form = OpenAt(RGB(40, 90, 160), csHue);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->OKBtn->setFocus();
    for (QWidget *box : {static_cast<QWidget *>(form->ColorListPaintBox), static_cast<QWidget *>(form->GradPaintBox),
                         static_cast<QWidget *>(form->ColCelPaintBox)}) {
        for (qreal ratio : {1.0, 1.5, 2.0}) {
            const QImage before = Render(*box, ratio);
            box->setFocus(Qt::TabFocusReason);
            ASSERT_TRUE(box->hasFocus());
            EXPECT_NE(Render(*box, ratio), before) << box->accessibleName().toStdString() << " at " << ratio;
            form->OKBtn->setFocus(Qt::TabFocusReason);
            EXPECT_EQ(Render(*box, ratio), before) << box->accessibleName().toStdString() << " at " << ratio;
        }
    }
}

QAccessibleInterface *Access(QObject *o) { return QAccessible::queryAccessibleInterface(o); }

void Act(QAccessibleInterface *iface, const QString &action)
{
    ASSERT_TRUE(iface->actionInterface());
    ASSERT_TRUE(iface->actionInterface()->actionNames().contains(action));
    iface->actionInterface()->doAction(action);
    QCoreApplication::processEvents();
}

TEST(PickerAccess, ModeChoicesAreRadioButtonsThatChooseExactlyTheirMode)
{
    auto form = OpenAt(RGB(40, 90, 160), csHue);
    TRadioGroup *groups[] = {form->FadeRadioGroup, form->ColorRadioGroup};
    for (TRadioGroup *g : groups)
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(Access(g->Item(i))->role(), QAccessible::RadioButton);

    Act(Access(form->ColorRadioGroup->Item(1)), QAccessibleActionInterface::toggleAction()); // green
    EXPECT_EQ(form->GetColorSwitch(), csGreen);
    Act(Access(form->FadeRadioGroup->Item(2)), QAccessibleActionInterface::toggleAction()); // B [%]
    EXPECT_EQ(form->GetColorSwitch(), csBrightness);
    int checked = 0;
    for (TRadioGroup *g : groups)
        for (int i = 0; i < 3; ++i)
            checked += Access(g->Item(i))->state().checked;
    EXPECT_EQ(checked, 1);
    EXPECT_TRUE(Access(form->FadeRadioGroup->Item(2))->state().checked);
    // Toggling the chosen item keeps it chosen, as a click on it does.
    Act(Access(form->FadeRadioGroup->Item(2)), QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(form->GetColorSwitch(), csBrightness);
}

TEST(PickerAccess, EveryControlAndCellHasANameOfItsOwn)
{
    auto form = OpenAt(RGB(40, 90, 160), csHue);
    QSet<QString> names;
    int count = 0;
    for (QWidget *w : form->findChildren<QWidget *>()) {
        QAccessibleInterface *iface = Access(w);
        ASSERT_TRUE(iface);
        const QString name = iface->text(QAccessible::Name);
        EXPECT_FALSE(name.isEmpty()) << w->metaObject()->className();
        names.insert(name);
        ++count;
    }
    EXPECT_EQ(names.size(), count) << "no two controls share a name";
    // Said by what they mean, not spelt out from their captions.
    EXPECT_EQ(Access(form->OKBtn)->text(QAccessible::Name), QStringLiteral("OK"));
    EXPECT_EQ(Access(form->FadeRadioGroup->Item(0))->text(QAccessible::Name), QStringLiteral("H: hue, 0-360 degrees"));
    EXPECT_EQ(Access(form->FadeRadioGroup->Item(2))->text(QAccessible::Name), QStringLiteral("B: brightness, 0-100%"));

    QAccessibleInterface *palette = Access(form->ColCelPaintBox);
    EXPECT_EQ(palette->role(), QAccessible::List);
    ASSERT_EQ(palette->childCount(), PaletteCellCount);
    QSet<QString> cells;
    for (int i = 0; i < PaletteCellCount; ++i) {
        QAccessibleInterface *cell = palette->child(i);
        ASSERT_TRUE(cell && cell->isValid());
        EXPECT_EQ(cell->role(), QAccessible::ListItem);
        EXPECT_EQ(cell->parent(), palette);
        EXPECT_EQ(palette->indexOfChild(cell), i);
        EXPECT_EQ(cell->state().selected, i == form->Selected());
        cells.insert(cell->text(QAccessible::Name));
    }
    EXPECT_EQ(cells.size(), PaletteCellCount);
    EXPECT_EQ(palette->child(27)->text(QAccessible::Value), QStringLiteral("#285AA0"));
    // The name holds the colour; a description saying it again would be read out twice.
    EXPECT_TRUE(palette->child(27)->text(QAccessible::Name).endsWith(QStringLiteral(": #285AA0")));
    EXPECT_TRUE(palette->child(27)->text(QAccessible::Description).isEmpty());
    const QRect cell9 = palette->child(9)->rect();
    EXPECT_EQ(palette->childAt(cell9.center().x(), cell9.center().y()), palette->child(9));

    Act(palette->child(9), QAccessibleActionInterface::pressAction());
    EXPECT_EQ(form->Selected(), 9);
    EXPECT_TRUE(palette->child(9)->state().selected);
    EXPECT_FALSE(palette->child(27)->state().selected);
}

TEST(PickerAccess, StripAndFieldReadOutTheirValues)
{
    auto form = OpenAt(RGB(40, 90, 160), csHue);
    QAccessibleInterface *strip = Access(form->GradPaintBox);
    EXPECT_EQ(strip->role(), QAccessible::Slider);
    ASSERT_TRUE(strip->valueInterface());
    // In the unit the mode's edit shows, not on the strip's own scale.
    EXPECT_EQ(strip->valueInterface()->currentValue().toInt(), form->UHEd->text().toInt());
    EXPECT_EQ(strip->valueInterface()->maximumValue().toInt(), 360);
    EXPECT_EQ(strip->text(QAccessible::Value), QStringLiteral("hue %1 degrees").arg(form->UHEd->text()));
    QTest::keyClick(form->GradPaintBox, Qt::Key_Home);
    EXPECT_EQ(strip->valueInterface()->currentValue().toInt(), 359);
    EXPECT_EQ(form->UHEd->text(), QStringLiteral("359"));
    for (const auto &[mode, maximum] : {std::pair{csSaturation, 100}, {csBrightness, 100}, {csRed, 255}}) {
        auto other = OpenAt(RGB(40, 90, 160), mode);
        QAccessibleInterface *s = Access(other->GradPaintBox);
        EXPECT_EQ(s->valueInterface()->maximumValue().toInt(), maximum);
        QTest::keyClick(other->GradPaintBox, Qt::Key_Down);
        const QLineEdit *shown = mode == csSaturation ? other->USEd : mode == csBrightness ? other->UBEd : other->RedEd;
        EXPECT_EQ(s->valueInterface()->currentValue().toInt(), shown->text().toInt()) << shown->accessibleName().toStdString();
    }

    QAccessibleInterface *field = Access(form->ColorListPaintBox);
    EXPECT_EQ(field->role(), QAccessible::ColorChooser);
    ASSERT_TRUE(field->valueInterface()) << "it tells its value changes, so it has a value";
    QTest::keyClick(form->ColorListPaintBox, Qt::Key_Right);
    const TColor c = form->CurrentColor();
    const QString hash = QColor(GetRValue(c), GetGValue(c), GetBValue(c)).name().toUpper();
    EXPECT_EQ(field->text(QAccessible::Value), hash);
    EXPECT_EQ(field->valueInterface()->currentValue().toInt(), GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
    const auto *announcer = form->findChild<TAnnouncer *>();
    ASSERT_TRUE(announcer) << "the field's colour is said in words";
    EXPECT_EQ(announcer->Said(), QStringLiteral("Colour ") + hash);
}

} // namespace
