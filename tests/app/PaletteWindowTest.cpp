#include "app/ColourState.h"
#include "app/PaletteModel.h"
#include "app/PaletteWindow.h"
#include "colour/PaletteFormats.h"
#include "Form1Fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QMimeData>
#include <QUrl>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

namespace {

// Restarts with the file dialogs answered by the test.
class PaletteWindow : public Form1Restarts {
protected:
    void AdjustEnv(TForm1Env &env) override
    {
        env.FileDialog = [this](bool, const QString &, const QString &) { return answer; };
    }
    static TPaletteWindow *Open(TForm1 &form)
    {
        form.show();
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(form.Edit5, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        TPaletteWindow *w = form.PaletteWindow();
        if (w) {
            // The offscreen platform leaves a second window inactive; a desktop activates it.
            QApplication::setActiveWindow(w);
            EXPECT_TRUE(QTest::qWaitForWindowActive(w));
        }
        return w;
    }
    // A button's mnemonic: its click is animated, the button held down for 100 ms and then
    // clicked; a busy machine (a sanitizer build) may take longer than that to get there.
    static void Mnemonic(QWidget *w, Qt::Key key)
    {
        QTest::keyClick(w, key, Qt::AltModifier);
        const QList<QAbstractButton *> buttons = w->window()->findChildren<QAbstractButton *>();
        const auto down = [](QAbstractButton *b) { return b->isDown(); };
        EXPECT_TRUE(QTest::qWaitFor([&] { return std::none_of(buttons.begin(), buttons.end(), down); }));
    }
    static TExactColour Rgb(int r, int g, int b) { return TExactColour::FromRgb8({r, g, b}); }
    static QStringList Names(const TForm1 &form)
    {
        QStringList names;
        for (const TPaletteEntry &e : form.Palette().Palette().Entries)
            names << e.Name;
        return names;
    }
    QString answer;
};

TEST_F(PaletteWindow, ByKeyboardAddReorderRenameChooseRemoveAndMake)
{
    auto form = Start();
    TPaletteWindow *w = Open(*form);
    ASSERT_TRUE(w);
    ASSERT_TRUE(w->isVisible());
    QListWidget *list = w->Swatches();
    const auto press = [&](QWidget *target, Qt::Key key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(target, key, mods); };
    for (const TExactColour &c : {Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255)}) {
        form->Colour().Take(c);
        Mnemonic(w, Qt::Key_A); // "Add current colour"
    }
    ASSERT_EQ(form->Palette().Count(), 3);
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(w->Selected(), 2);

    list->setFocus();
    w->Select(0);
    press(list, Qt::Key_Right, Qt::ControlModifier); // red moves after green
    EXPECT_EQ(form->Palette().Palette().Entries[0].Colour, Rgb(0, 255, 0));
    EXPECT_EQ(form->Palette().Palette().Entries[1].Colour, Rgb(255, 0, 0));
    EXPECT_EQ(w->Selected(), 1);
    press(list, Qt::Key_Left, Qt::ControlModifier);
    press(list, Qt::Key_Left, Qt::ControlModifier); // at the start already: stays
    EXPECT_EQ(form->Palette().Palette().Entries[0].Colour, Rgb(255, 0, 0));
    EXPECT_EQ(w->Selected(), 0);

    press(list, Qt::Key_Right); // to green, then Return makes it current
    press(list, Qt::Key_Return);
    EXPECT_EQ(form->Colour().Exact(), Rgb(0, 255, 0));
    EXPECT_EQ(w->EntryText()->text(), QStringLiteral("#00ff00"));

    press(list, Qt::Key_F2);
    EXPECT_TRUE(w->EntryName()->hasFocus());
    QTest::keyClicks(w->EntryName(), QStringLiteral("Leaf"));
    press(w->EntryName(), Qt::Key_Return);
    EXPECT_EQ(Names(*form), (QStringList{QString(), QStringLiteral("Leaf"), QString()}));
    EXPECT_EQ(list->item(1)->data(Qt::AccessibleTextRole).toString(), QStringLiteral("Leaf, #00ff00"));

    list->setFocus();
    press(list, Qt::Key_Delete);
    EXPECT_EQ(form->Palette().Count(), 2);
    EXPECT_EQ(form->Palette().Palette().Entries[1].Colour, Rgb(0, 0, 255));

    // A scale of the current colour (green), then its complementary harmony, then a gradient to
    // the comparison colour (white) in 5 steps.
    w->MakeChoice()->setCurrentIndex(0);
    Mnemonic(w, Qt::Key_D);
    EXPECT_EQ(form->Palette().Count(), 13);
    EXPECT_EQ(form->Palette().Palette().Entries[2].Name, QStringLiteral("50"));
    w->MakeChoice()->setCurrentIndex(1);
    Mnemonic(w, Qt::Key_D);
    EXPECT_EQ(Names(*form).mid(13), (QStringList{QStringLiteral("base"), QStringLiteral("+180\u00B0")}));
    w->MakeChoice()->setCurrentIndex(w->MakeChoice()->count() - 1);
    EXPECT_TRUE(w->StepCount()->isEnabled());
    EXPECT_FALSE(w->GamutChoice()->isEnabled());
    w->StepCount()->setValue(5);
    Mnemonic(w, Qt::Key_D);
    ASSERT_EQ(form->Palette().Count(), 20);
    EXPECT_EQ(form->Palette().Palette().Entries[19].Colour.Rgb8(), (TRgb8{255, 255, 255}));

    // The command closes it again.
    form->PaletteWindowClick();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(messages.Messages.empty());
}

// The palette comes back after a restart exactly, names included; a user who never used it keeps
// the file's bytes; names with control characters or a megabyte long are kept safe.
TEST_F(PaletteWindow, SettingsRoundTripAndUntouchedFiles)
{
    Start()->close();
    const QByteArray untouched = IniBytes();
    {
        auto form = Start();
        Open(*form);
        form->close();
    }
    EXPECT_EQ(IniBytes(), untouched);

    const TExactColour p3 = ReadExactColour(u"color(display-p3 1 0 0 / 0.5)")->Colour;
    {
        auto form = Start();
        form->Palette().SetName(QStringLiteral("Brand\ncolours"));
        form->Palette().Add({{QStringLiteral("Red\t\x1b[2J"), p3},
                             {QString(1 << 20, QLatin1Char('n')), Rgb(1, 2, 3)},
                             {QStringLiteral("Tab=and;semicolon, comma"), ReadExactColour(u"oklch(0.7 0.1 200)")->Colour}});
        form->close();
    }
    EXPECT_TRUE(IniBytes().contains("[Form\\Palette]\nName=Brand colours\n"));
    EXPECT_TRUE(IniBytes().contains("Colours_Item0=color(display-p3 1 0 0 / 0.5)\tRed  [2J\n"));
    auto form = Start();
    const TPalette &kept = form->Palette().Palette();
    EXPECT_EQ(kept.Name, QStringLiteral("Brand colours"));
    ASSERT_EQ(kept.Entries.size(), 3u);
    EXPECT_EQ(kept.Entries[0].Colour, p3);
    EXPECT_EQ(kept.Entries[0].Name, QStringLiteral("Red  [2J"));
    EXPECT_EQ(kept.Entries[1].Name, QString(MaxPaletteNameLength, QLatin1Char('n')));
    EXPECT_EQ(kept.Entries[1].Colour, Rgb(1, 2, 3));
    EXPECT_EQ(kept.Entries[2].Name, QStringLiteral("Tab=and;semicolon, comma"));
    // Emptied, it stays empty.
    while (form->Palette().Count())
        form->Palette().Remove(0);
    form->close();
    EXPECT_EQ(Start()->Palette().Count(), 0);
}

QImage FourColours()
{
    QImage image(40, 10, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, 20, 10, QColor(0x33, 0x66, 0x99));
    p.fillRect(20, 0, 10, 10, QColor(0xFF, 0xCC, 0x00));
    p.fillRect(30, 0, 6, 10, QColor(0x10, 0x10, 0x10));
    p.fillRect(36, 0, 4, 10, QColor(0xE0, 0x40, 0x80));
    return image;
}

TEST_F(PaletteWindow, AnImageIsTakenInTheWorkerAndRefusalsAreSaid)
{
    auto form = Start();
    TPaletteWindow *w = Open(*form);
    const QString png = dir.filePath(QStringLiteral("four.png"));
    ASSERT_TRUE(FourColours().save(png));
    w->ImageCount()->setValue(4);
    QSignalSpy finished(w, &TPaletteWindow::ImageFinished);
    ASSERT_TRUE(w->TakeImageFile(png));
    EXPECT_TRUE(w->ImageRunning());
    EXPECT_TRUE(w->CancelButton()->isEnabled());
    EXPECT_FALSE(w->TakeImageFile(png)) << "one at a time";
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_FALSE(w->ImageRunning());
    std::vector<TRgb8> got;
    for (const TPaletteEntry &e : form->Palette().Palette().Entries)
        got.push_back(e.Colour.Rgb8());
    EXPECT_EQ(got, (std::vector<TRgb8>{{0x33, 0x66, 0x99}, {0xFF, 0xCC, 0x00}, {0x10, 0x10, 0x10}, {0xE0, 0x40, 0x80}}));

    // An image dropped on the window, as a file and as image data.
    for (const bool asFile : {true, false}) {
        QMimeData data;
        if (asFile)
            data.setUrls({QUrl::fromLocalFile(png)});
        else
            data.setImageData(FourColours());
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(w, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(w, &drop);
        ASSERT_TRUE(finished.wait(5000));
    }
    EXPECT_EQ(form->Palette().Count(), 12);
    while (form->Palette().Count() > 4)
        form->Palette().Remove(4);

    // Cancelled: a 12-megapixel image, Escape at once; nothing is added.
    QImage big(4000, 3000, QImage::Format_RGB32);
    big.fill(Qt::red);
    ASSERT_TRUE(w->TakeImage(big));
    QTest::keyClick(w, Qt::Key_Escape);
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(form->Palette().Count(), 4);

    // Not an image, or too wide: one message naming the file and the reason, nothing added.
    const QString text = dir.filePath(QStringLiteral("note.png")), wide = dir.filePath(QStringLiteral("wide.png"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("no image at all");
    f.close();
    ASSERT_TRUE(QImage(100000, 1, QImage::Format_Mono).save(wide));
    for (const QString &name : {text, wide}) {
        messages.Messages.clear();
        ASSERT_TRUE(w->TakeImageFile(name));
        ASSERT_TRUE(finished.wait(5000));
        ASSERT_EQ(messages.Messages.size(), 1u);
        EXPECT_TRUE(messages.Messages[0].text.startsWith(QStringLiteral("The image %1 could not be read: it is ").arg(name)))
            << messages.Messages[0].text.toStdString();
    }
    EXPECT_EQ(form->Palette().Count(), 4);
}

TEST_F(PaletteWindow, ExportThenImportKeepsNamesAndColours)
{
    auto form = Start();
    TPaletteWindow *w = Open(*form);
    form->Palette().SetName(QStringLiteral("Mine"));
    form->Palette().Add({{QStringLiteral("Sky"), ReadExactColour(u"oklch(0.7 0.1 200)")->Colour}, {QStringLiteral("Ink"), Rgb(16, 16, 16)}});
    const TPalette before = form->Palette().Palette();
    answer = dir.filePath(QStringLiteral("mine.tokens.json"));
    Mnemonic(w, Qt::Key_X);
    form->Palette().Remove(0);
    Mnemonic(w, Qt::Key_P);
    EXPECT_EQ(form->Palette().Palette(), before);
    // A file that is no palette: one message, the palette as it was.
    answer = dir.filePath(QStringLiteral("nothing.gpl"));
    Mnemonic(w, Qt::Key_P);
    EXPECT_EQ(messages.Messages.size(), 1u);
    EXPECT_EQ(form->Palette().Palette(), before);
}

} // namespace
