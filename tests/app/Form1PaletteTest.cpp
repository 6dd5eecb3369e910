#include "app/ColourState.h"
#include "app/ContrastPanel.h"
#include "app/HistoryRow.h"
#include "app/NotationsWindow.h"
#include "Form1Fixture.h"
#include "framework/Dispatch.h"

#include "colour/Contrast.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

// Restarts with palette file dialogs answered by the test.
class Form1Palette : public Form1Restarts {
protected:
    void AdjustEnv(TForm1Env &env) override
    {
        env.FileDialog = [this](bool save, const QString &, const QString &) {
            asked.push_back(save);
            return answer;
        };
    }
    void Set(TForm1 &form, TColor c) { form.SetColor(c); }

    QString answer;
    std::vector<bool> asked;
};

TEST_F(Form1Palette, HistoryKeepsEveryNewColourAcrossARestartAndNothingElse)
{
    Start()->close();
    const QByteArray untouched = IniBytes();
    auto form = Start();
    form->SrgbSwitchClick();
    form->SrgbSwitchClick();
    form->RepreButtonClick();
    form->close();
    EXPECT_EQ(IniBytes(), untouched) << "a user who never changed the colour keeps the file";

    form = Start();
    Set(*form, 0x0000FF);
    Set(*form, 0x00FF00);
    Set(*form, 0x0000FF);
    form->LCheckBoxClick();
    EXPECT_EQ(form->Colour().History().Text(), QStringLiteral("#FF0000,#00FF00,#98B5D1"));
    form->close();
    EXPECT_TRUE(IniBytes().contains("[Form\\History]\nColours=#FF0000,#00FF00,#98B5D1\n"));

    form = Start();
    EXPECT_EQ(form->Colour().History().Text(), QStringLiteral("#FF0000,#00FF00,#98B5D1"));
    form->NotationsClick();
    THistoryRow *row = form->NotationsWindow()->History();
    ASSERT_EQ(row->Shown(), 3);
    EXPECT_EQ(row->Cell(1)->accessibleName(), QStringLiteral("#00FF00"));
    EXPECT_EQ(row->Cell(1)->toolTip(), QStringLiteral("#00FF00"));
    row->Cell(1)->setFocus();
    QTest::keyClick(row->Cell(1), Qt::Key_Return);
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("Lime"));
    EXPECT_EQ(form->Colour().History().Text(), QStringLiteral("#00FF00,#FF0000,#98B5D1"));
    form->ClearHistoryClick();
    EXPECT_EQ(row->Shown(), 0);
    form->close();
    EXPECT_TRUE(IniBytes().contains("[Form\\History]\nColours=\n"));
    EXPECT_TRUE(messages.Messages.empty());
}

TEST_F(Form1Palette, ContrastFollowsTheColourAndTheComparisonColourIsKept)
{
    auto form = Start();
    form->NotationsClick();
    Set(*form, 0x777777);
    TContrastPanel *panel = form->NotationsWindow()->Contrast();
    EXPECT_TRUE(panel->Figures(0)->text().startsWith(
        QStringLiteral("on white #FFFFFF: 4.47:1, AA fails, AA large passes, AAA fails, AAA large fails\nAPCA Lc")));
    EXPECT_EQ(panel->Preview(0)->palette().color(QPalette::WindowText), QColor(0x77, 0x77, 0x77));
    Set(*form, 0x4080C0);
    form->SetComparisonClick();
    Set(*form, 0);
    EXPECT_TRUE(panel->Figures(2)->text().contains(QStringLiteral("#C08040")));
    form->close();
    EXPECT_TRUE(IniBytes().contains("[Form\\Contrast]\nComparison=#C08040\n"));
    EXPECT_EQ(Start()->Colour().Comparison(), TExactColour::FromRgb8({0xC0, 0x80, 0x40}));
}

TEST_F(Form1Palette, AComparisonColourOutsideSrgbIsKeptExactlyAndMeasuredByItsFallback)
{
    auto form = Start();
    form->NotationsClick();
    const TExactColour p3 = ReadExactColour(u"color(display-p3 0 1 0)")->Colour;
    form->Colour().Take(p3);
    form->SetComparisonClick();
    Set(*form, 0);
    TContrastPanel *panel = form->NotationsWindow()->Contrast();
    const QString figures = panel->Figures(2)->text();
    EXPECT_TRUE(figures.startsWith(QStringLiteral("on the comparison colour color(display-p3 0 1 0): ")
                                   + RatioText(ContrastRatio(TExactColour::FromRgb8({0, 0, 0}), p3)) + QStringLiteral(":1")))
        << figures.toStdString();
    form->close();
    EXPECT_TRUE(IniBytes().contains("[Form\\Contrast]\nComparison=color(display-p3 0 1 0)\n"));
    EXPECT_EQ(Start()->Colour().Comparison(), p3);
}

TEST_F(Form1Palette, ExportThenImportKeepsEveryColour)
{
    auto form = Start();
    for (int n = 16; n <= 26; ++n)
        form->ColorPickerDialog->SetTemporaryPalette(n, RGB(n * 9, 255 - n, n));
    Set(*form, 0x123456);
    answer = dir.filePath(QStringLiteral("mine"));
    form->ExportPaletteClick();
    const QByteArray gpl = Bytes(answer + QStringLiteral(".gpl"));
    EXPECT_TRUE(gpl.startsWith("GIMP Palette\nName: Pigmora\n"));
    EXPECT_TRUE(gpl.contains("144 239  16\t#90EF10\n"));
    EXPECT_TRUE(gpl.endsWith(" 86  52  18\t#563412\n152 181 209\t#98B5D1\n"));
    answer = dir.filePath(QStringLiteral("mine.css"));
    form->ExportPaletteClick();
    EXPECT_TRUE(Bytes(answer).startsWith(":root {\n  --pigmora-1: #90ef10;\n"));

    for (int n = 16; n <= 26; ++n)
        form->ColorPickerDialog->SetTemporaryPalette(n, 0);
    answer = dir.filePath(QStringLiteral("mine.gpl"));
    form->ImportPaletteClick();
    for (int n = 16; n <= 26; ++n)
        EXPECT_EQ(form->ColorPickerDialog->GetTemporaryPalette(n), RGB(n * 9, 255 - n, n)) << n;
    EXPECT_EQ(asked, (std::vector<bool>{true, true, false}));
    EXPECT_TRUE(messages.Messages.empty());
}

// Every other format goes by the chosen name's suffix: design tokens keep the colour exactly, and
// each file reads back into the user colours.
TEST_F(Form1Palette, ExportAndImportChooseTheFormatByTheSuffix)
{
    auto form = Start();
    for (int n = 16; n <= 26; ++n)
        form->ColorPickerDialog->SetTemporaryPalette(n, RGB(n * 9, 255 - n, n));
    form->Colour().Take(ReadExactColour(u"oklch(0.7 0.25 30)")->Colour);
    answer = dir.filePath(QStringLiteral("p.tokens.json"));
    form->ExportPaletteClick();
    EXPECT_TRUE(Bytes(answer).contains("\"colorSpace\": \"oklch\",\n        \"components\": [0.7, 0.25, 30]")) << Bytes(answer).toStdString();
    for (const char *suffix : {"ase", "kpl", "soc", "xml", "tailwind.css", "svg"}) {
        answer = dir.filePath(QStringLiteral("p.") + QLatin1String(suffix));
        form->ExportPaletteClick();
    }
    for (const char *suffix : {"tokens.json", "ase", "kpl", "soc", "xml", "tailwind.css"}) {
        for (int n = 16; n <= 26; ++n)
            form->ColorPickerDialog->SetTemporaryPalette(n, 0);
        answer = dir.filePath(QStringLiteral("p.") + QLatin1String(suffix));
        form->ImportPaletteClick();
        for (int n = 16; n <= 26; ++n)
            EXPECT_EQ(form->ColorPickerDialog->GetTemporaryPalette(n), RGB(n * 9, 255 - n, n)) << suffix << " " << n;
    }
    EXPECT_TRUE(Bytes(dir.filePath(QStringLiteral("p.svg"))).contains("<text x=\"16\" y=\"126\">#90EF10</text>"));
    EXPECT_TRUE(messages.Messages.empty());
}

TEST_F(Form1Palette, ExportWritesTheHistoryExactlyInCssAndByItsFallbackInGimp)
{
    auto form = Start();
    form->Colour().Take(ReadExactColour(u"oklch(0.7 0.25 30)")->Colour);
    answer = dir.filePath(QStringLiteral("exact.css"));
    form->ExportPaletteClick();
    EXPECT_TRUE(Bytes(answer).endsWith("  --pigmora-12: oklch(0.7 0.25 30);\n  --pigmora-13: #98b5d1;\n}\n"))
        << Bytes(answer).toStdString();
    answer = dir.filePath(QStringLiteral("exact.gpl"));
    form->ExportPaletteClick();
    EXPECT_TRUE(Bytes(answer).endsWith("255  88  67\t#FF5843\n152 181 209\t#98B5D1\n")) << Bytes(answer).toStdString();
    EXPECT_TRUE(messages.Messages.empty());
}

TEST_F(Form1Palette, AFileThatIsNoPaletteOrCannotBeWrittenSaysSoAndChangesNothing)
{
    auto form = Start();
    const TColor before = form->ColorPickerDialog->GetTemporaryPalette(16);
    const QString bad = dir.filePath(QStringLiteral("bad.gpl"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a palette\n1 2 3\n");
    f.close();
    for (const QString &file : {bad, dir.filePath(QStringLiteral("missing.gpl"))}) {
        answer = file;
        RunCommand(messages, [&] { form->ImportPaletteClick(); });
    }
    answer = QStringLiteral("/proc/no-such-folder/x.gpl");
    RunCommand(messages, [&] { form->ExportPaletteClick(); });
    answer.clear();
    RunCommand(messages, [&] { form->ImportPaletteClick(); }); // cancelled: nothing at all
    ASSERT_EQ(messages.Messages.size(), 3u);
    EXPECT_TRUE(messages.Messages[0].text.contains(QStringLiteral("bad.gpl could not be read: it is no GIMP palette")));
    EXPECT_TRUE(messages.Messages[1].text.contains(QStringLiteral("missing.gpl could not be read")));
    EXPECT_TRUE(messages.Messages[2].text.contains(QStringLiteral("/proc/no-such-folder/x.gpl")));
    EXPECT_EQ(form->ColorPickerDialog->GetTemporaryPalette(16), before);
}

// Only regular files are read: a FIFO (which would wait for a writer forever), a folder or a
// device in the chosen place is refused at once.
TEST_F(Form1Palette, ImportReadsOnlyRegularFiles)
{
    auto form = Start();
    const TColor before = form->ColorPickerDialog->GetTemporaryPalette(16);
    const QString fifo = dir.filePath(QStringLiteral("fifo.gpl"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &file : {fifo, dir.path(), QStringLiteral("/dev/zero")}) {
        answer = file;
        RunCommand(messages, [&] { form->ImportPaletteClick(); });
    }
    ASSERT_EQ(messages.Messages.size(), 3u);
    EXPECT_EQ(messages.Messages[0].text, QStringLiteral("The palette %1 could not be read: it is a FIFO.").arg(fifo));
    EXPECT_TRUE(messages.Messages[2].text.contains(QStringLiteral("/dev/zero could not be read")));
    EXPECT_EQ(form->ColorPickerDialog->GetTemporaryPalette(16), before);
}

// The export replaces a symlink in its place with the palette; what the link points to (or would
// point to, when it dangles) is never written.
TEST_F(Form1Palette, ExportReplacesASymlinkNeverItsTarget)
{
    auto form = Start();
    const QString other = dir.filePath(QStringLiteral("other.txt"));
    QFile f(other);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("someone else's file\n");
    f.close();
    ASSERT_TRUE(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
    const QString link = dir.filePath(QStringLiteral("x.gpl"));
    ASSERT_TRUE(QFile::link(other, link));
    const QString dangling = dir.filePath(QStringLiteral("y.css"));
    const QString elsewhere = dir.filePath(QStringLiteral("elsewhere.css"));
    ASSERT_TRUE(QFile::link(elsewhere, dangling));

    for (const QString &file : {link, dangling}) {
        answer = file;
        RunCommand(messages, [&] { form->ExportPaletteClick(); });
    }
    EXPECT_TRUE(messages.Messages.empty());
    EXPECT_EQ(Bytes(other), QByteArray("someone else's file\n"));
    EXPECT_FALSE(QFileInfo::exists(elsewhere));
    for (const QString &file : {link, dangling})
        EXPECT_FALSE(QFileInfo(file).isSymLink()) << file.toStdString();
    EXPECT_TRUE(Bytes(link).startsWith("GIMP Palette\n"));
    EXPECT_TRUE(Bytes(dangling).startsWith(":root {\n"));
    // A new file is made as any other would be: readable by others unless the umask says not.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(QFileInfo(link).permission(QFile::ReadOther), (mask & 0004) == 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral(".x.gpl")), QStringList());
}

} // namespace
