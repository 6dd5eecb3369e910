#include "app/ColorDrop.h"
#include "app/CommandMenu.h"
#include "Form1Fixture.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDrag>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>

namespace {

constexpr TColor Default = 13743512;

class Form1AnyColor : public Form1Fixture {
protected:
    void SetUp() override
    {
        Form1Fixture::SetUp();
        // The same window, counting its beeps.
        TForm1Env env;
        env.Messages = &messages;
        env.Clock = &clock;
        env.ColorDialogRunner = [this](TColorDialog &d) {
            if (!dialogAnswer)
                return false;
            d.Color = *dialogAnswer;
            return true;
        };
        env.Beep = [this] { ++beeps; };
        form = std::make_unique<TForm1>(env);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->PovEdit->setFocus();
    }
    void TearDown() override
    {
        form->CommandMenu->Menu()->hide();
    }

    void Keys(QKeyCombination keys) { QTest::keyClick(QApplication::focusWidget(), keys.key(), keys.keyboardModifiers()); }

    QAction *Entry(const QString &text) const
    {
        for (QAction *a : form->CommandMenu->Commands())
            if (a->text() == text)
                return a;
        return nullptr;
    }

    // Sends a drag over the swatch and, when it was accepted, the drop; true when the drop was taken.
    bool Drop(QMimeData *data)
    {
        const QPoint at = form->Label1->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form->Label1, &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form->Label1, &drop);
        EXPECT_EQ(enter.isAccepted(), drop.isAccepted());
        return drop.isAccepted();
    }

    int beeps = 0;
};

TEST_F(Form1AnyColor, TurningTheSwitchRendersAtOnce)
{
    EXPECT_TRUE(form->PovEdit->text().isEmpty());
    Keys(Qt::CTRL | Qt::SHIFT | Qt::Key_G);
    EXPECT_TRUE(form->fSrgb);
    EXPECT_EQ(form->PovEdit->text(), QStringLiteral("srgb <0.596, 0.71, 0.82>"));
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("#98B5D1"));
}

TEST_F(Form1AnyColor, SwitchTextsOnAndOffByteForByte)
{
    Pick(Default);
    const QStringList off = NotationFields();
    EXPECT_EQ(off.mid(9), (QStringList{QStringLiteral("rgb <0.596, 0.71, 0.82>"), QStringLiteral("rgbf <0.596, 0.71, 0.82, 0>"),
                                       QStringLiteral("rgbt <0.596, 0.71, 0.82, 0>")}));

    Keys(Qt::CTRL | Qt::SHIFT | Qt::Key_G);
    EXPECT_EQ(form->PovEdit->text(), QStringLiteral("srgb <0.596, 0.71, 0.82>"));
    EXPECT_EQ(form->fRgbfText, QStringLiteral("srgbf <0.596, 0.71, 0.82, 0>"));
    EXPECT_EQ(form->fRgbtText, QStringLiteral("srgbt <0.596, 0.71, 0.82, 0>"));
    EXPECT_EQ(form->RGBFButton->toolTip(), form->fRgbfText);
    EXPECT_EQ(form->RGBTButton->toolTip(), form->fRgbtText);
    EXPECT_EQ(NotationFields().mid(0, 9), off.mid(0, 9));

    form->FTEdit->setText(QStringLiteral(".5"));
    Click(form->LCheckBox);
    EXPECT_EQ(form->PovEdit->text(), QStringLiteral("pigment{ srgb <0.596, 0.71, 0.82> }"));
    EXPECT_EQ(form->fRgbfText, QStringLiteral("pigment{ srgbf <0.596, 0.71, 0.82, .5> }"));
    EXPECT_EQ(form->fRgbtText, QStringLiteral("pigment{ srgbt <0.596, 0.71, 0.82, .5> }"));

    // The percent restore writes srgb too, with the filter 0 as always.
    form->Edit1->setText(QStringLiteral("100.0"));
    form->Edit2->setText(QStringLiteral("50"));
    form->Edit3->setText(QStringLiteral("0"));
    Click(form->Re_PerButton);
    EXPECT_EQ(form->PovEdit->text(), QStringLiteral("pigment{ srgb <1, 0.5, 0> }"));
    EXPECT_EQ(form->fRgbfText, QStringLiteral("pigment{ srgbf <1, 0.5, 0, 0> }"));

    // Off again: today's texts, byte for byte.
    Click(form->LCheckBox);
    form->FTEdit->setText(QStringLiteral("0"));
    Pick(Default);
    Keys(Qt::CTRL | Qt::SHIFT | Qt::Key_G);
    EXPECT_FALSE(form->fSrgb);
    EXPECT_EQ(NotationFields(), off);
}

TEST_F(Form1AnyColor, RestoreReadsAnSrgbTextAsTheSameColour)
{
    Keys(Qt::CTRL | Qt::SHIFT | Qt::Key_G);
    Pick(0x00102030);
    form->fMyColor = 0;
    Click(form->RestoreButton);
    EXPECT_EQ(form->fMyColor, 0x00102030);
    EXPECT_EQ(form->PovEdit->text(), QStringLiteral("srgb <0.188, 0.126, 0.063>"));
}

TEST_F(Form1AnyColor, SwitchRendersNothingWhileTheColourIsBlack)
{
    Pick(Default);
    Pick(0);
    const QStringList before = NotationFields();
    Keys(Qt::CTRL | Qt::SHIFT | Qt::Key_G);
    EXPECT_TRUE(form->fSrgb);
    EXPECT_EQ(NotationFields(), before);
}

TEST_F(Form1AnyColor, PasteTakesAnyNotationThroughTheFullRendering)
{
    QApplication::clipboard()->setText(QStringLiteral("  hsl(210, 40%, 70%)\n"));
    Keys(Qt::CTRL | Qt::SHIFT | Qt::Key_V);
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("#94B3D1"));
    EXPECT_EQ(form->PovEdit->text(), QStringLiteral("rgb <0.58, 0.702, 0.82>"));
    EXPECT_EQ(form->SwatchColor(), RGB(148, 179, 209));
    EXPECT_EQ(beeps, 0);

    auto *data = new QMimeData;
    data->setColorData(QColor(1, 2, 3));
    data->setText(QStringLiteral("#FFFFFF"));
    QApplication::clipboard()->setMimeData(data);
    Entry(QStringLiteral("Paste colour"))->trigger();
    EXPECT_EQ(form->fMyColor, RGB(1, 2, 3)); // the colour data win over the text
}

TEST_F(Form1AnyColor, BadClipboardContentChangesNothingAndBeeps)
{
    Pick(Default);
    const QStringList before = NotationFields();

    std::vector<QMimeData *> contents;
    const auto text = [&](const QString &t) {
        auto *d = new QMimeData;
        d->setText(t);
        contents.push_back(d);
    };
    text(QString());
    text(QString(10'000'000, QLatin1Char('x')));
    text(QStringLiteral("#12345"));
    text(QStringLiteral("#98B5D1 #000000"));
    auto *binary = new QMimeData;
    binary->setData(QStringLiteral("text/plain"), QByteArray("\xff\xfe\x00\x01#98B5D1\xc3\x28", 14));
    contents.push_back(binary);
    auto *image = new QMimeData;
    image->setImageData(QImage(4, 4, QImage::Format_RGB32));
    contents.push_back(image);
    auto *badColour = new QMimeData;
    badColour->setColorData(QColor());
    contents.push_back(badColour);
    contents.push_back(new QMimeData);

    for (size_t i = 0; i < contents.size(); ++i) {
        QApplication::clipboard()->setMimeData(contents[i]);
        Keys(Qt::CTRL | Qt::SHIFT | Qt::Key_V);
        EXPECT_EQ(beeps, static_cast<int>(i) + 1);
        EXPECT_EQ(NotationFields(), before) << i;
        EXPECT_EQ(form->fMyColor, Default);
    }
    EXPECT_TRUE(messages.Messages.empty());
}

TEST_F(Form1AnyColor, DropOnTheSwatchTakesColoursAndReadableTextsOnly)
{
    QMimeData colour;
    colour.setColorData(QColor(10, 20, 30));
    EXPECT_TRUE(Drop(&colour));
    EXPECT_EQ(form->fMyColor, RGB(10, 20, 30));
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("#0A141E"));

    QMimeData name;
    name.setText(QStringLiteral("RebeccaPurple"));
    EXPECT_TRUE(Drop(&name));
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("#663399"));

    const QStringList before = NotationFields();
    QMimeData prose, image, huge, empty;
    prose.setText(QStringLiteral("a red car"));
    image.setImageData(QImage(2, 2, QImage::Format_RGB32));
    huge.setText(QString(10'000'000, QLatin1Char('1')));
    for (QMimeData *refused : {&prose, &image, &huge, &empty})
        EXPECT_FALSE(Drop(refused));
    EXPECT_EQ(NotationFields(), before);
}

TEST_F(Form1AnyColor, SixteenBitChannelsOfADroppedColourRoundToTheNearestByte)
{
    const auto raw = [](quint16 r, quint16 g, quint16 b) {
        const quint16 channels[4] = {r, g, b, 0xFFFF};
        QMimeData data;
        data.setData(QStringLiteral("application/x-color"),
                     QByteArray(reinterpret_cast<const char *>(channels), sizeof channels));
        const auto taken = ColorFromMime(&data);
        if (!taken)
            return std::optional<TColor>();
        EXPECT_TRUE(taken->Colour.FromBytes) << "taken as 8 bits";
        const TRgb8 c = taken->Colour.Rgb8();
        return std::optional(RGB(c.R, c.G, c.B));
    };
    EXPECT_EQ(raw(0x2222, 0xCCCC, 0x7FFF), RGB(0x22, 0xCC, 0x80));
    EXPECT_EQ(raw(0x7F7F, 0x7FFE, 0x807F), RGB(0x7F, 0x7F, 0x80));
    EXPECT_EQ(raw(0, 0x0080, 0xFFFF), RGB(0, 1, 0xFF));
    EXPECT_EQ(raw(0x007F, 0xFF7F, 0xFFFE), RGB(0, 0xFF, 0xFF));
    // What Qt writes for each byte (the byte times 257) reads back as that byte.
    for (int v = 0; v <= 255; ++v) {
        const QRgba64 written = QColor(v, v, v).rgba64();
        EXPECT_EQ(raw(written.red(), written.green(), written.blue()), RGB(v, v, v)) << v;
    }
}

TEST_F(Form1AnyColor, DragDataCarryTheColourAndItsHtmlText)
{
    const auto data = ColorMimeData(Default);
    EXPECT_TRUE(data->hasColor());
    EXPECT_EQ(data->colorData().value<QColor>(), QColor(152, 181, 209));
    EXPECT_EQ(data->text(), QStringLiteral("#98B5D1"));
    ASSERT_TRUE(ColorFromMime(data.get()));
    EXPECT_EQ(ColorFromMime(data.get())->Colour, TExactColour::FromRgb8({152, 181, 209}));
    EXPECT_TRUE(form->Label1->acceptDrops());
}

TEST_F(Form1AnyColor, MovingTheMouseWithTheButtonDownOnTheSwatchStartsADragOfTheColour)
{
    Pick(0x00336699);
    QWidget *swatch = form->Label1;
    const QPoint from = swatch->rect().center();
    QTest::mousePress(swatch, Qt::LeftButton, {}, from);
    QMouseEvent small(QEvent::MouseMove, QPointF(from + QPoint(1, 0)), swatch->mapToGlobal(QPointF(from + QPoint(1, 0))),
                      Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(swatch, &small);
    EXPECT_EQ(swatch->findChild<QDrag *>(), nullptr);
    const QPoint to = from + QPoint(0, QApplication::startDragDistance() + 2);
    QMouseEvent far(QEvent::MouseMove, QPointF(to), swatch->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(swatch, &far);
    // The offscreen platform ends every drag at once; the drag object waits for its deferred delete.
    const QDrag *drag = swatch->findChild<QDrag *>();
    ASSERT_NE(drag, nullptr);
    EXPECT_EQ(drag->mimeData()->colorData().value<QColor>(), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(drag->mimeData()->text(), QStringLiteral("#996633"));
    QTest::mouseRelease(swatch, Qt::LeftButton, {}, to);
    EXPECT_EQ(form->fMyColor, 0x00336699);
}

TEST_F(Form1AnyColor, F10OpensTheCommandMenuWhereverTheFocusIs)
{
    QMenu *menu = form->CommandMenu->Menu();
    for (QWidget *focus : {static_cast<QWidget *>(form->PovEdit), static_cast<QWidget *>(form->KanjiEdit),
                           static_cast<QWidget *>(form->Edit5)}) {
        focus->setFocus();
        Keys(QKeyCombination(Qt::Key_F10));
        EXPECT_TRUE(menu->isVisible());
        menu->hide();
    }
    QAction *paste = Entry(QStringLiteral("Paste colour"));
    QAction *srgb = Entry(QStringLiteral("srgb (POV-Ray 3.7 gamma)"));
    ASSERT_TRUE(paste && srgb);
    EXPECT_EQ(paste->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+V")));
    EXPECT_EQ(srgb->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+G")));
    EXPECT_TRUE(srgb->isCheckable());
    EXPECT_FALSE(paste->isCheckable());
    EXPECT_TRUE(menu->actions().contains(paste));
}

TEST_F(Form1AnyColor, MenuShowsWhatCanRunAndTheSwitchState)
{
    QMenu *menu = form->CommandMenu->Menu();
    QAction *paste = Entry(QStringLiteral("Paste colour"));
    QAction *srgb = Entry(QStringLiteral("srgb (POV-Ray 3.7 gamma)"));

    QApplication::clipboard()->setText(QStringLiteral("no colour here"));
    form->CommandMenu->Open(form->mapToGlobal(QPoint(10, 10)));
    EXPECT_FALSE(paste->isEnabled());
    EXPECT_FALSE(srgb->isChecked());
    menu->hide();
    EXPECT_TRUE(paste->isEnabled()) << "a closed menu leaves the shortcut to the command";

    QApplication::clipboard()->setText(QStringLiteral("#00FF00"));
    srgb->trigger();
    EXPECT_TRUE(form->fSrgb);
    form->CommandMenu->Open();
    EXPECT_TRUE(paste->isEnabled());
    EXPECT_TRUE(srgb->isChecked());
    srgb->trigger();
    EXPECT_FALSE(form->fSrgb);
    EXPECT_FALSE(srgb->isChecked());
}

TEST_F(Form1AnyColor, RightClickOnBackgroundOrSwatchOpensTheMenuButNotOnButtonsOrEdits)
{
    QMenu *menu = form->CommandMenu->Menu();
    const auto rightClick = [&](QWidget *w, QPoint at) {
        QContextMenuEvent e(QContextMenuEvent::Mouse, at, w->mapToGlobal(at));
        QApplication::sendEvent(w, &e);
        const bool open = menu->isVisible();
        menu->hide();
        return open;
    };
    EXPECT_TRUE(rightClick(form.get(), QPoint(5, 350)));
    EXPECT_TRUE(rightClick(form->Label1, QPoint(30, 70)));
    EXPECT_TRUE(rightClick(form->Label10, QPoint(3, 3)));
    EXPECT_FALSE(rightClick(form->RGBButton, QPoint(5, 5)));
    EXPECT_FALSE(rightClick(form->PovEdit, QPoint(5, 5)));
}

TEST_F(Form1AnyColor, CommandMenuCanBeExtended)
{
    int runs = 0;
    bool can = false;
    QAction *a = form->CommandMenu->AddCommand(
        {QStringLiteral("Extra"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Y), [&runs] { ++runs; }, [&can] { return can; }, {}});
    EXPECT_TRUE(form->CommandMenu->Commands().contains(a));
    Keys(Qt::CTRL | Qt::SHIFT | Qt::Key_Y);
    EXPECT_EQ(runs, 1);
    form->CommandMenu->Refresh();
    EXPECT_FALSE(a->isEnabled());
    can = true;
    form->CommandMenu->Refresh();
    EXPECT_TRUE(a->isEnabled());
}

class Form1SrgbSetting : public Form1Restarts {};

TEST_F(Form1SrgbSetting, SurvivesARestartInItsOwnSection)
{
    Start()->close();
    const QByteArray untouched = IniBytes();
    EXPECT_FALSE(untouched.contains("PovSrgb"));

    auto form = Start();
    EXPECT_FALSE(form->fSrgb);
    form->SrgbSwitchClick();
    form->close();
    const QByteArray on = IniBytes();
    EXPECT_TRUE(on.startsWith(untouched)) << "everything else keeps its bytes";
    EXPECT_EQ(on.mid(untouched.size()), QByteArray("[Form\\PovSrgb]\nBool=1\n"));

    form = Start();
    EXPECT_TRUE(form->fSrgb);
    form->SrgbSwitchClick();
    form->close();
    EXPECT_EQ(IniBytes().mid(untouched.size()), QByteArray("[Form\\PovSrgb]\nBool=0\n"));
    EXPECT_FALSE(Start()->fSrgb);
    EXPECT_TRUE(messages.Messages.empty());
}

TEST_F(Form1SrgbSetting, OffLeavesAFileAsItWasAndAnOldFileReadsOff)
{
    Start()->close();
    const QByteArray old = IniBytes();
    auto form = Start();
    EXPECT_FALSE(form->fSrgb);
    form->SrgbSwitchClick();
    form->SrgbSwitchClick();
    form->close();
    EXPECT_EQ(IniBytes(), old);
}

} // namespace
