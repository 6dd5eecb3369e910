#include "Form1Fixture.h"
#include "app/Unit1.h"
#include "desktop/Desktop.h"
#include "desktop/SettingsPath.h"
#include "picker/ColPickForm.h"
#include "settings/RegMng.h"
#include "widgets/ShineSpdBtn.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>

namespace {

class Form1Settings : public Form1Restarts {
protected:
    void AdjustEnv(TForm1Env &env) override
    {
        env.IniStoreFileName = store;
        env.PlacesWindows = placesWindows;
        env.ColorDialogRunner = [this](TColorDialog &d) {
            if (dialogUser)
                dialogUser(d);
            return dialogOk;
        };
        env.PickerRunner = [this](TColorPickerForm &form) {
            form.PreparePicker();
            ++pickerRuns;
            if (pickerUser)
                pickerUser(form);
            if (pickerOk)
                form.OKBtnClick();
            else
                form.CancelBtnClick();
            return form.result() == QDialog::Accepted;
        };
    }

    QString IniText() const { return QString::fromUtf8(IniBytes()); }

    // Writes into the main window's file through a store of its own, as an earlier run or a
    // hand edit would have.
    void WithStore(const std::function<void(TRegManager &)> &write)
    {
        TRecordingMessageSink sink;
        TRegManager store(nullptr, sink);
        store.RegType = rtIni;
        store.IniFileName = ini;
        AddForm1RegItems(*store.RegItems());
        write(store);
    }

    void StorePosition(int left, int top)
    {
        WithStore([&](TRegManager &store) {
            store.Filer(QStringLiteral("Form1Left"))->WriteInteger(left);
            store.Filer(QStringLiteral("Form1Top"))->WriteInteger(top);
        });
    }

    // Raw bytes in an item, as a hand-edited file could hold them.
    void StoreStream(const QString &item, const QByteArray &bytes)
    {
        WithStore([&](TRegManager &store) {
            QByteArray copy = bytes;
            QBuffer buffer(&copy);
            buffer.open(QIODevice::ReadOnly);
            store.Filer(item)->WriteStream(&buffer);
        });
    }

    static void Click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }

    QString store; // where the close stores, when not `ini`
    std::optional<bool> placesWindows; // empty: as the platform plugin says
    std::function<void(TColorDialog &)> dialogUser;
    bool dialogOk = true;
    std::function<void(TColorPickerForm &)> pickerUser;
    bool pickerOk = true;
    int pickerRuns = 0;
};

} // namespace

TEST_F(Form1Settings, FirstStartWithoutAFileUsesTheDefaults)
{
    auto form = Start();
    EXPECT_EQ(form->pos(), QPoint(100, 100));
    EXPECT_EQ(form->fMyColor, 13743512);
    EXPECT_EQ(form->SwatchColor(), 13743512);
    EXPECT_TRUE(form->PovEdit->text().isEmpty());
    EXPECT_EQ(form->FTEdit->text(), QStringLiteral("0"));
    for (int n = 16; n <= 26; ++n)
        EXPECT_EQ(form->ColorPickerDialog->GetTemporaryPalette(n), 0);
    EXPECT_EQ(form->ColorPickerDialog->Title(), QStringLiteral("Color Picker"));
    EXPECT_TRUE(messages.Messages.empty());
    EXPECT_FALSE(QFile::exists(ini)); // reading creates nothing
}

TEST_F(Form1Settings, ClosingStoresTheDesignedLayout)
{
    auto form = Start();
    form->close();
    const QString text = IniText();
    EXPECT_TRUE(text.contains(QStringLiteral("[Form\\fMyColor]\nInteger=13743512\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("[Form\\Form1]\nTop=100\nLeft=100\n")));
    for (int n = 16; n <= 26; ++n)
        EXPECT_TRUE(text.contains(QStringLiteral("[Form\\TemporaryPalette%1]\nInteger=0\n").arg(n))) << n;
    // The picker component, Color $00D1B598, "Color Picker", design position 280, 104.
    EXPECT_TRUE(text.contains(QStringLiteral(
        "[From\\ColorPickerDialog]\nprop_c=3\n"
        "prop_d0=545046301254436F6C6F725069636B65724469616C6F6711436F6C6F72506963\n"
        "prop_d1=6B65724469616C6F6705436F6C6F720498B5D100055469746C65060C436F6C6F\n"
        "prop_d2=72205069636B6572044C65667403180103546F700268000000\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("[Form\\ColorDialog]\nprop_c=")));
    EXPECT_TRUE(messages.Messages.empty());
}

TEST_F(Form1Settings, EverythingComesBackAfterARestart)
{
    {
        auto form = Start();
        dialogUser = [](TColorDialog &d) {
            d.Color = 0x204060;
            SetCustomColorAt(d.CustomColors, 2, 0x0A0B0C);
        };
        Click(form->OpenButton);
        pickerUser = [](TColorPickerForm &f) {
            f.SetPaletteColor(20, 0x00ABCDEF);
            f.SetColorSwitch(csGreen);
        };
        Click(form->FhotoButton);
        EXPECT_EQ(form->ColorPickerDialog->GetTemporaryPalette(20), 0x00ABCDEF);
        form->move(250, 180);
        form->close();
    }
    auto form = Start();
    EXPECT_EQ(form->pos(), QPoint(250, 180));
    EXPECT_EQ(form->fMyColor, 0x204060);
    EXPECT_EQ(form->SwatchColor(), 0x204060);
    EXPECT_TRUE(form->Edit4->text().isEmpty());
    EXPECT_EQ(form->ColorPickerDialog->ColorSwitch(), csGreen);
    EXPECT_EQ(form->ColorPickerDialog->GetTemporaryPalette(20), 0x00ABCDEF);
    EXPECT_EQ(CustomColorAt(form->ColorDialog->CustomColors, 2), 0x0A0B0C);
    EXPECT_EQ(form->ColorDialog->Options, OptionBit(cdFullOpen) | OptionBit(cdSolidColor));
    EXPECT_EQ(form->ColorDialog->Color, 0x204060);
    // The replaced components still answer through the test's runners.
    dialogUser = {};
    Click(form->OpenButton);
    EXPECT_EQ(form->Edit4->text(), QStringLiteral("$00204060"));
}

TEST_F(Form1Settings, PhotoshopOpensOnTheStandardColoursEveryTime)
{
    auto form = Start();
    pickerUser = [](TColorPickerForm &f) {
        EXPECT_EQ(f.PaletteColor(0), clRed);
        EXPECT_EQ(f.PaletteColor(6), clWhite);
        EXPECT_EQ(f.PaletteColor(15), clBlack);
        f.SetPaletteColor(0, 0x111111);
    };
    Click(form->FhotoButton);
    EXPECT_EQ(form->ColorPickerDialog->GetTemporaryPalette(0), 0x111111);
    Click(form->FhotoButton); // slot 0 is red again before the window opens
    EXPECT_EQ(pickerRuns, 2);
    EXPECT_EQ(form->fMyColor, 13743512);
    EXPECT_EQ(form->PovEdit->text(), QStringLiteral("rgb <0.596, 0.71, 0.82>"));
}

TEST_F(Form1Settings, PickerOkWithoutAChangeKeepsTheRestoredHighByte)
{
    auto form = Start();
    for (const char *constant : {"$01D1B598", "$02D1B598"}) {
        form->Edit4->setText(QString::fromLatin1(constant));
        Click(form->Re_DeButton);
        Click(form->FhotoButton);
        EXPECT_EQ(form->Edit4->text(), QString::fromLatin1(constant));
        EXPECT_EQ(form->fMyColor, form->Edit4->text().mid(1).toUInt(nullptr, 16));
    }
    EXPECT_EQ(pickerRuns, 2);
}

TEST_F(Form1Settings, PickerCancelChangesNothing)
{
    auto form = Start();
    pickerOk = false;
    pickerUser = [](TColorPickerForm &f) { f.SetPaletteColor(27, 0x123456); };
    Click(form->FhotoButton);
    EXPECT_EQ(form->fMyColor, 13743512);
    EXPECT_TRUE(form->PovEdit->text().isEmpty());
}

TEST_F(Form1Settings, DamagedComponentImagesKeepTheDesignedDialogsAndEverythingElse)
{
    const QDir images(QStringLiteral(PIGMORA_TEST_DATA "/images"));
    for (const QString &name : images.entryList({QStringLiteral("bad_*")}, QDir::Files)) {
        QFile::remove(ini);
        QFile f(images.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray image = f.readAll();
        StoreStream(QStringLiteral("ColorPickerDialogComponent"), image);
        StoreStream(QStringLiteral("ColorDialogComponent"), image);
        {
            TRecordingMessageSink sink;
            TRegManager store(nullptr, sink);
            store.RegType = rtIni;
            store.IniFileName = ini;
            AddForm1RegItems(*store.RegItems());
            store.Filer(QStringLiteral("fMyColor"))->WriteInteger(0x112233);
        }
        auto form = Start();
        EXPECT_EQ(form->fMyColor, 0x112233) << name.toStdString();
        EXPECT_EQ(form->ColorPickerDialog->Title(), QStringLiteral("Color Picker")) << name.toStdString();
        EXPECT_EQ(form->ColorPickerDialog->ColorSwitch(), csHue) << name.toStdString();
        EXPECT_EQ(form->ColorDialog->Options, OptionBit(cdFullOpen) | OptionBit(cdSolidColor)) << name.toStdString();
        EXPECT_TRUE(messages.Messages.empty()) << name.toStdString();
        form->close();
    }
}

TEST_F(Form1Settings, AnyDamagedSettingsFileStartsAndCloses)
{
    const QDir corpus(QStringLiteral(PIGMORA_TEST_DATA "/ini"));
    for (const QString &name : corpus.entryList(QDir::Files)) {
        QFile::remove(ini);
        ASSERT_TRUE(QFile::copy(corpus.filePath(name), ini));
        QFile::setPermissions(ini, QFile::ReadOwner | QFile::WriteOwner);
        TColor loaded = 0;
        {
            auto form = Start();
            loaded = form->fMyColor;
            form->close();
        }
        // Whatever the damaged file gave, closing stores it so that the next start gets it back.
        EXPECT_EQ(Start()->fMyColor, loaded) << name.toStdString();
        EXPECT_TRUE(messages.Messages.empty()) << name.toStdString();
    }
}

TEST_F(Form1Settings, OffScreenPositionOpensAtTheDefault)
{
    StorePosition(-99999, 50);
    EXPECT_EQ(Start()->pos(), QPoint(100, 100));
}

TEST_F(Form1Settings, WhereWindowsCannotBePlacedTheStoredPositionStaysAsItWas)
{
    StorePosition(300, 200);
    Start()->close(); // once everywhere, so the file has all it will ever have
    const QString before = IniText();
    placesWindows = false;
    {
        auto form = Start();
        form->show();
        form->move(-3, -30); // what such a platform reports after its decorations
        form->close();
    }
    EXPECT_EQ(IniText(), before);
    EXPECT_TRUE(IniText().contains(QStringLiteral("Top=200")));
    EXPECT_TRUE(IniText().contains(QStringLiteral("Left=300")));

    // The platforms that do place windows keep what the window was moved to.
    placesWindows = true;
    {
        auto form = Start();
        EXPECT_EQ(form->pos(), QPoint(300, 200));
        form->move(310, 210);
        form->close();
    }
    EXPECT_TRUE(IniText().contains(QStringLiteral("Top=210")));
    EXPECT_FALSE(PlatformPlacesWindows(QStringLiteral("wayland")));
    EXPECT_FALSE(PlatformPlacesWindows(QStringLiteral("wayland-egl")));
    EXPECT_TRUE(PlatformPlacesWindows(QStringLiteral("xcb")));
    EXPECT_TRUE(PlatformPlacesWindows(QStringLiteral("offscreen")));
}

TEST_F(Form1Settings, FailedWriteAtCloseShowsTheErrorAndClosesAnyway)
{
    ASSERT_TRUE(QDir().mkpath(ini)); // a folder where the file should be
    auto form = Start();
    form->show();
    form->close();
    EXPECT_FALSE(form->isVisible());
    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_EQ(messages.Messages[0].kind, TMessageKind::Error);
    EXPECT_EQ(messages.Messages[0].text, ini + QStringLiteral(" に書き込めません."));
}

TEST_F(Form1Settings, ReadOnlyCopyIsReadAndTheCloseStoresInTheUserFile)
{
    auto first = Start();
    first->close();
    first.reset();
    QString text = IniText();
    text.replace(QStringLiteral("[Form\\fMyColor]\nInteger=13743512\n"), QStringLiteral("[Form\\fMyColor]\nInteger=255\n"));
    text += QStringLiteral("[Elsewhere]\nKept=yes\n");
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
    f.close();
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadOther);

    store = dir.filePath(QStringLiteral("user/pigmora.ini"));
    QDir().mkpath(dir.filePath(QStringLiteral("user")));
    auto form = Start();
    EXPECT_EQ(form->fMyColor, 255);
    form->fMyColor = 0x123456;
    form->close();
    EXPECT_TRUE(messages.Messages.empty());
    EXPECT_EQ(IniText(), text) << "the read-only copy is left as it was";
    QFile stored(store);
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    const QString storedText = QString::fromUtf8(stored.readAll());
    EXPECT_TRUE(storedText.contains(QStringLiteral("[Form\\fMyColor]\nInteger=1193046\n"))) << storedText.toStdString();
    EXPECT_TRUE(storedText.contains(QStringLiteral("[Elsewhere]\nKept=yes\n")));
}
