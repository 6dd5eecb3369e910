// Fonts, lists and streams as whole items: one reading of the file, one atomic replacement, a
// bounded cost for stored counts, gaps in the lines, and a writer killed at any moment.
#include "settings/RegMng.h"

#include "settings/IniFile.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class ItemStore : public testing::Test {
protected:
    QTemporaryDir dir;
    TRecordingMessageSink sink;
    TRegManager manager{nullptr, sink};

    ItemStore()
    {
        manager.RegType = rtIni;
        manager.IniFileName = dir.filePath(QStringLiteral("Pigmora.ini"));
        manager.KeyStoreFile = dir.filePath(QStringLiteral("keys"));
        manager.RegDir = QStringLiteral("Software\\Pigmora");
        AddForm1RegItems(*manager.RegItems());
        manager.RegItems()->Add(QStringLiteral("Names"), QStringLiteral("Form\\Names"), QStringLiteral("Names"), QString());
        manager.RegItems()->Add(QStringLiteral("Font"), QStringLiteral("Form\\Font"), QStringLiteral("F"), QString());
    }

    QByteArray IniText() const
    {
        QFile f(manager.IniFileName);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void SetIniText(const QByteArray &text) const
    {
        QFile f(manager.IniFileName);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    QStringList Names()
    {
        QStringList lines{QStringLiteral("old")};
        manager.Filer(QStringLiteral("Names"))->ReadStrings(&lines);
        return lines;
    }
    void WriteStream(const QString &item, QByteArray bytes)
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        manager.Filer(item)->WriteStream(&buffer);
    }
    QByteArray ReadStream(const QString &item)
    {
        QBuffer buffer;
        buffer.open(QIODevice::ReadWrite);
        manager.Filer(item)->ReadStream(&buffer);
        return buffer.data();
    }
};

// The stream of generation g: its length changes with g (so the line count changes too) and its
// first four bytes hold g.
QByteArray Pattern(int g)
{
    QByteArray bytes(1000 + (g % 3) * 700, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((g * 7 + i) & 0xFF);
    for (int k = 0; k < 4; ++k)
        bytes[k] = static_cast<char>((g >> (8 * k)) & 0xFF);
    return bytes;
}

int PatternGeneration(const QByteArray &bytes)
{
    if (bytes.size() < 4)
        return -1;
    int g = 0;
    for (int k = 0; k < 4; ++k)
        g |= (static_cast<unsigned char>(bytes[k])) << (8 * k);
    return bytes == Pattern(g) ? g : -1;
}

QStringList Lines(int g)
{
    QStringList lines;
    for (int n = 0; n < 3 + g % 4; ++n)
        lines << QStringLiteral("g%1-%2").arg(g).arg(n);
    return lines;
}

TFontValue FontOf(int g) { return {QStringLiteral("F%1").arg(g), g % 50 + 1, TColor(g & 0xFFFFFF), g % 16}; }

} // namespace

TEST_F(ItemStore, ListCountReadsUpToTheCountWithMissingLinesEmpty)
{
    SetIniText("[Form\\Names]\nNames_ItemCount=4\nNames_Item0=a\nNames_Item1=b\n");
    EXPECT_EQ(Names(), QStringList({"a", "b", "", ""}));
    SetIniText("[Form\\Names]\nNames_ItemCount=3\nNames_Item0=a\nNames_Item2=c\n");
    EXPECT_EQ(Names(), QStringList({"a", "", "c"}));
    // A line numbered past the count, or with a leading zero, is not one of its lines.
    SetIniText("[Form\\Names]\nNames_ItemCount=2\nNames_Item01=x\nNames_Item5=y\n");
    EXPECT_EQ(Names(), QStringList({"", ""}));
    SetIniText("[Form\\Names]\nNames_ItemCount=-1\nNames_Item0=a\n");
    EXPECT_TRUE(Names().isEmpty());
}

TEST_F(ItemStore, HugeCountIsReadOnlyAsFarAsLinesAreStored)
{
    SetIniText("[Form\\Names]\nNames_ItemCount=2000000000\nNames_Item0=a\nnames_item2=c\n");
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(Names(), QStringList({"a", "", "c"}));
    SetIniText("[From\\ColorPickerDialog]\nprop_c=2147483647\nprop_d0=0102\nprop_d7=03\n");
    EXPECT_EQ(ReadStream(QStringLiteral("ColorPickerDialogComponent")), QByteArray("\x01\x02\x03"));
    EXPECT_LT(timer.elapsed(), 1000);
}

TEST_F(ItemStore, ShorterListOrStreamDeletesEveryIndexOverAGap)
{
    SetIniText("[Form\\Names]\nNames_ItemCount=6\nNames_Item0=a\nNames_Item1=b\nNames_Item2=c\nNames_Item4=e\n"
               "Names_Item5=f\nOther=1\n");
    const QStringList two{QStringLiteral("x"), QStringLiteral("y")};
    manager.Filer(QStringLiteral("Names"))->WriteStrings(&two);
    EXPECT_EQ(IniText(), QByteArray("[Form\\Names]\nNames_ItemCount=2\nNames_Item0=x\nNames_Item1=y\nOther=1\n"));

    SetIniText("[Form\\ColorDialog]\nprop_c=4\nprop_d0=00\nprop_d1=11\nprop_d3=33\n");
    WriteStream(QStringLiteral("ColorDialogComponent"), "\xAB");
    EXPECT_EQ(IniText(), QByteArray("[Form\\ColorDialog]\nprop_c=1\nprop_d0=AB\n"));
    WriteStream(QStringLiteral("ColorDialogComponent"), QByteArray());
    EXPECT_EQ(IniText(), QByteArray("[Form\\ColorDialog]\n"));
}

TEST_F(ItemStore, EachItemIsOneFileReplacementWithOneSync)
{
    const QByteArray big(16000 * 32, '\x5A'); // 16,000 lines
    const std::uint64_t before = FileSyncCount();
    WriteStream(QStringLiteral("ColorPickerDialogComponent"), big);
    EXPECT_EQ(FileSyncCount() - before, 1u);
    WriteStream(QStringLiteral("ColorPickerDialogComponent"), big.left(100));
    EXPECT_EQ(FileSyncCount() - before, 2u);
    const QStringList lines = Lines(5);
    manager.Filer(QStringLiteral("Names"))->WriteStrings(&lines);
    const TFontValue font = FontOf(9);
    manager.Filer(QStringLiteral("Font"))->WriteFont(&font);
    manager.Filer(QStringLiteral("Form1Top"))->WriteInteger(3);
    EXPECT_EQ(FileSyncCount() - before, 5u);
    // Reads write nothing.
    EXPECT_EQ(ReadStream(QStringLiteral("ColorPickerDialogComponent")), big.left(100));
    EXPECT_EQ(Names(), lines);
    TFontValue back;
    manager.Filer(QStringLiteral("Font"))->ReadFont(&back);
    EXPECT_EQ(back.Name, font.Name);
    EXPECT_EQ(FileSyncCount() - before, 5u);
    EXPECT_TRUE(sink.Messages.empty());
}

TEST_F(ItemStore, FileIsClosedBetweenOperationsAndAnExternalChangeIsSeen)
{
    WriteStream(QStringLiteral("ColorDialogComponent"), "\x01\x02");
    const QString path = QFileInfo(manager.IniFileName).canonicalFilePath();
    for (const QFileInfo &fd : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System | QDir::Files))
        EXPECT_NE(fd.symLinkTarget(), path);
    SetIniText("[Form\\ColorDialog]\nprop_c=1\nprop_d0=0A0B0C\n");
    EXPECT_EQ(ReadStream(QStringLiteral("ColorDialogComponent")), QByteArray("\x0A\x0B\x0C"));
    SetIniText("[Form\\Names]\nNames_ItemCount=1\nNames_Item0=edited\n");
    EXPECT_EQ(Names(), QStringList({"edited"}));
}

TEST_F(ItemStore, FailingStreamWriteLeavesTheWholeOldStream)
{
    WriteStream(QStringLiteral("ColorPickerDialogComponent"), Pattern(1));
    const QByteArray old = IniText();
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = old.size() + 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(WriteStream(QStringLiteral("ColorPickerDialogComponent"), Pattern(2)), Exception);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(IniText(), old);
    EXPECT_EQ(PatternGeneration(ReadStream(QStringLiteral("ColorPickerDialogComponent"))), 1);
}

TEST_F(ItemStore, RegistryListsAndFontsAreWholeItemsToo)
{
    manager.RegType = rtReg;
    const QStringList lines = Lines(6);
    const TFontValue font = FontOf(7);
    const std::uint64_t before = FileSyncCount();
    manager.Filer(QStringLiteral("Names"))->WriteStrings(&lines);
    manager.Filer(QStringLiteral("Font"))->WriteFont(&font);
    WriteStream(QStringLiteral("ColorDialogComponent"), "\x01");
    EXPECT_EQ(FileSyncCount() - before, 3u);
    const QStringList shorter = Lines(4);
    manager.Filer(QStringLiteral("Names"))->WriteStrings(&shorter);
    EXPECT_EQ(Names(), shorter);
    TFontValue back;
    manager.Filer(QStringLiteral("Font"))->ReadFont(&back);
    EXPECT_EQ(back.Name, font.Name);
    EXPECT_EQ(back.Style, font.Style);
}

namespace {

// Child side of the kill test: stores the three items over and over until it is killed.
[[noreturn]] void StoreUntilKilled(const QString &file, int first)
{
    TRecordingMessageSink sink;
    TRegManager manager(nullptr, sink);
    manager.RegType = rtIni;
    manager.IniFileName = file;
    AddForm1RegItems(*manager.RegItems());
    manager.RegItems()->Add(QStringLiteral("Names"), QStringLiteral("Form\\Names"), QStringLiteral("Names"), QString());
    manager.RegItems()->Add(QStringLiteral("Font"), QStringLiteral("Form\\Font"), QStringLiteral("F"), QString());
    for (int g = first;; ++g) {
        QByteArray bytes = Pattern(g);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        manager.Filer(QStringLiteral("ColorDialogComponent"))->WriteStream(&buffer);
        const QStringList lines = Lines(g);
        manager.Filer(QStringLiteral("Names"))->WriteStrings(&lines);
        const TFontValue font = FontOf(g);
        manager.Filer(QStringLiteral("Font"))->WriteFont(&font);
    }
}

} // namespace

TEST_F(ItemStore, KilledWriterLeavesEveryItemOldOrNewAndTheImageDecodes)
{
    // Padding makes every replacement take long enough for the kills to land inside the writes.
    QByteArray text = "[Padding]\n";
    for (int i = 0; i < 3000; ++i)
        text += "line" + QByteArray::number(i) + "=" + QByteArray(60, 'p') + "\n";
    SetIniText(text);
    int last = 0;
    for (int round = 0; round < 8; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        // Each round starts far above the last, so what it finds is this round's doing.
        const int first = (round + 1) * 100000;
        if (child == 0)
            StoreUntilKilled(manager.IniFileName, first);
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 20000 && PatternGeneration(ReadStream(QStringLiteral("ColorDialogComponent"))) <= first)
            QThread::msleep(2);
        QThread::msleep(QRandomGenerator::global()->bounded(1, 40));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);

        const int g = PatternGeneration(ReadStream(QStringLiteral("ColorDialogComponent")));
        ASSERT_GT(g, first) << "round " << round << ": the stored stream does not decode";
        const QStringList names = Names();
        ASSERT_TRUE(names == Lines(g) || names == Lines(g - 1)) << "round " << round << ": " << names.join('|').toStdString();
        TFontValue font;
        manager.Filer(QStringLiteral("Font"))->ReadFont(&font);
        const int fg = font.Name.mid(1).toInt();
        EXPECT_TRUE(fg == g || fg == g - 1) << "round " << round;
        const TFontValue expected = FontOf(fg);
        EXPECT_EQ(font.Size, expected.Size);
        EXPECT_EQ(font.Color, expected.Color);
        EXPECT_EQ(font.Style, expected.Style);
        EXPECT_TRUE(IniText().startsWith(text));
        last = g;
    }
    EXPECT_GT(last, 0);
    EXPECT_TRUE(sink.Messages.empty());
}
