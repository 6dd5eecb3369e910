#include "settings/IniFile.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <sys/resource.h>
#include <sys/fsuid.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray ReadFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QString Find(QByteArrayView text, const QString &section, const QString &ident)
{
    QString v;
    return FindIniValue(text, section, ident, v) ? v : QStringLiteral("<none>");
}

} // namespace

TEST(IniLookup, SectionsAndEntriesIgnoreCaseAndFirstMatchWins)
{
    const QByteArray text = "[Form\\Form1]\nTop=1\ntop=2\n[form\\form1]\nLeft=3\n[Other]\nTop=4\n";
    EXPECT_EQ(Find(text, QStringLiteral("FORM\\FORM1"), QStringLiteral("TOP")), QStringLiteral("1"));
    // Only the first section of a name is looked at, for reads as for writes.
    EXPECT_EQ(Find(text, QStringLiteral("Form\\Form1"), QStringLiteral("Left")), QStringLiteral("<none>"));
    EXPECT_EQ(Find(text, QStringLiteral("other"), QStringLiteral("top")), QStringLiteral("4"));
    const TIniData data = TIniData::Parse(text);
    EXPECT_EQ(data.ReadString(QStringLiteral("form\\FORM1"), QStringLiteral("TOP"), QString()), QStringLiteral("1"));
}

TEST(IniLookup, CrlfBomCommentsAndBlanksAroundNamesAreAccepted)
{
    const QByteArray text = "\xEF\xBB\xBF[Sec]\r\n; comment=1\r\n  Name  =  value here  \r\n#x=2\r\n";
    EXPECT_EQ(Find(text, QStringLiteral("Sec"), QStringLiteral("Name")), QStringLiteral("value here"));
    EXPECT_EQ(Find(text, QStringLiteral("Sec"), QStringLiteral("; comment")), QStringLiteral("<none>"));
    EXPECT_EQ(TIniData::Parse(text).Serialize(), QByteArray("[Sec]\n; comment=1\n  Name  =  value here  \n#x=2\n"));
}

TEST(IniChange, ReplacesInPlaceAddsEntriesAtSectionEndAndSectionsAtFileEnd)
{
    TIniData data = TIniData::Parse("; head\n[A]\nx=1\ny=2\n\n[B]\nz=3\n");
    ASSERT_TRUE(data.WriteString(QStringLiteral("a"), QStringLiteral("X"), QStringLiteral("10")));
    ASSERT_TRUE(data.WriteString(QStringLiteral("A"), QStringLiteral("w"), QStringLiteral("new")));
    ASSERT_TRUE(data.WriteString(QStringLiteral("Form\\C"), QStringLiteral("Integer"), QStringLiteral("13743512")));
    EXPECT_EQ(data.Serialize(), QByteArray("; head\n[A]\nx=10\ny=2\nw=new\n\n[B]\nz=3\n[Form\\C]\nInteger=13743512\n"));

    EXPECT_TRUE(data.DeleteKey(QStringLiteral("B"), QStringLiteral("Z")));
    EXPECT_FALSE(data.DeleteKey(QStringLiteral("B"), QStringLiteral("z")));
    EXPECT_FALSE(data.DeleteKey(QStringLiteral("none"), QStringLiteral("z")));
    EXPECT_EQ(data.Sections(), QStringList({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("Form\\C")}));
}

TEST(IniChange, NamesThatWouldNotReadBackAreRefused)
{
    TIniData data;
    EXPECT_FALSE(data.WriteString(QString(), QStringLiteral("a"), QStringLiteral("1")));
    EXPECT_FALSE(data.WriteString(QStringLiteral("S"), QStringLiteral("a=b"), QStringLiteral("1")));
    EXPECT_FALSE(data.WriteString(QStringLiteral("S]x"), QStringLiteral("a"), QStringLiteral("1")));
    EXPECT_FALSE(data.WriteString(QStringLiteral("S"), QStringLiteral("a\nb"), QStringLiteral("1")));
    EXPECT_FALSE(data.WriteString(QStringLiteral("S"), QStringLiteral(";a"), QStringLiteral("1")));
    EXPECT_TRUE(data.Serialize().isEmpty());
}

class IniValueRoundTrip : public testing::TestWithParam<const char *> {};

TEST_P(IniValueRoundTrip, TextReadsBackUnchanged)
{
    const QString value = QString::fromUtf8(GetParam());
    TIniData data;
    ASSERT_TRUE(data.WriteString(QStringLiteral("S"), QStringLiteral("V"), value));
    data.WriteString(QStringLiteral("S"), QStringLiteral("After"), QStringLiteral("next"));
    const QByteArray text = data.Serialize();
    EXPECT_EQ(Find(text, QStringLiteral("S"), QStringLiteral("V")), value) << text.constData();
    EXPECT_EQ(Find(text, QStringLiteral("S"), QStringLiteral("After")), QStringLiteral("next"));
}

INSTANTIATE_TEST_SUITE_P(Values, IniValueRoundTrip,
                         testing::Values("", " leading", "trailing ", "  ", "\t", "two\nlines", "cr\rlf\r\n",
                                         "\"quoted\"", "\"", "\"a\\n\"", "back\\slash", "日本語のテキスト",
                                         " 全角　空白 ", "a=b=c", "[not a section]", "; not a comment",
                                         "ctl\x01\x1f\x7f", "\\x41", "\xEF\xBB\xBF starts with a BOM",
                                         "\\\"escaped look\"", "\\\"", "\\\"a\n", " \\\"x\" ", "tab\tinside",
                                         "\"\"", "\"C:\\temp\\new\""));

TEST(IniValueRoundTripSurrogates, LoneSurrogatesAndPairsReadBackUnchanged)
{
    for (const QString &value : {QString(QChar(0xD800)), QStringLiteral("a") + QChar(0xDC00) + QStringLiteral("b"),
                                 QString::fromUtf8("\xF0\x9F\x98\x80 pair"), QString(QChar(0xDBFF)) + QStringLiteral("\n")}) {
        TIniData data;
        ASSERT_TRUE(data.WriteString(QStringLiteral("S"), QStringLiteral("V"), value));
        EXPECT_EQ(Find(data.Serialize(), QStringLiteral("S"), QStringLiteral("V")), value);
    }
}

// Inputs the fuzzer found: each must parse to a text that a second parse leaves as it is.
TEST(IniLookup, FuzzFindingsParseStably)
{
    for (const QByteArray &text : {QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF\xED\x8F\xC5" "4\n"), QByteArray("\xEFoF\x00\r\r\n", 7),
                                  QByteArray("[\nTop=1\n[]\nx=2\n")}) {
        const QByteArray once = TIniData::Parse(text).Serialize();
        EXPECT_EQ(TIniData::Parse(once).Serialize(), once);
    }
    QString v;
    EXPECT_FALSE(TIniData::Parse("[\nTop=1\n").ReadValue(QString(), QStringLiteral("Top"), v));
}

TEST(IniValueEncoding, OrdinaryValuesAreStoredByteForByte)
{
    for (const char *plain : {"13743512", "-5", "$00D1B598", "Color Picker", "日本語", "545046301254436F6C6F72",
                              "a\"b", "x \\ y", "\"open"}) {
        EXPECT_EQ(EncodeIniValue(QString::fromUtf8(plain)), QByteArray(plain)) << plain;
    }
    EXPECT_EQ(EncodeIniValue(QStringLiteral(" a\n")), QByteArray("\\\" a\\n\""));
    EXPECT_EQ(EncodeIniValue(QStringLiteral(" padded ")), QByteArray("\" padded \""));
    EXPECT_EQ(EncodeIniValue(QStringLiteral("\"q\"")), QByteArray("\"\"q\"\""));
    EXPECT_EQ(EncodeIniValue(QStringLiteral("\\\"x")), QByteArray("\\\"\\\\\\\"x\""));
}

struct HandEditedCase {
    const char *raw;      // the text after "=" as a user typed it
    const char *expected; // what a classic profile reader reads
};

class IniHandEdited : public testing::TestWithParam<HandEditedCase> {};

TEST_P(IniHandEdited, ReadsAsAClassicProfileReaderReadsIt)
{
    const QByteArray text = QByteArray("[S]\nV=") + GetParam().raw + "\n";
    const QString expected = QString::fromUtf8(GetParam().expected);
    EXPECT_EQ(Find(text, QStringLiteral("S"), QStringLiteral("V")), expected);
    EXPECT_EQ(TIniData::Parse(text).ReadString(QStringLiteral("S"), QStringLiteral("V"), QString()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, IniHandEdited,
    testing::Values(HandEditedCase{"\"C:\\temp\\new\"", "C:\\temp\\new"}, HandEditedCase{"C:\\temp\\new", "C:\\temp\\new"},
                    HandEditedCase{"  \"  both  \"  ", "  both  "}, HandEditedCase{"\"\"", ""},
                    HandEditedCase{"\"open", "\"open"}, HandEditedCase{"\"", "\""},
                    HandEditedCase{"\"a\\n\"", "a\\n"}, HandEditedCase{"\"\"x\"\"", "\"x\""},
                    HandEditedCase{"\"say \"hi\"\"", "say \"hi\""},
                    // The escaped form only with valid escapes; otherwise read as it stands.
                    HandEditedCase{"\\\"a\\tb\"", "a\tb"}, HandEditedCase{"\\\"a\\qb\"", "\\\"a\\qb\""},
                    HandEditedCase{"\\\"a\"b\"", "\\\"a\"b\""}, HandEditedCase{"\\\"", "\\\""}));

class IniFileOnDisk : public testing::Test {
protected:
    QTemporaryDir dir;
    QString Path(const QString &name = QStringLiteral("settings.ini")) const { return dir.filePath(name); }
};

TEST_F(IniFileOnDisk, WritesLfUtf8AndKeepsOtherLines)
{
    WriteFile(Path(), "\xEF\xBB\xBF[Form\\Form1]\r\nTop=1\r\n; mine\r\n");
    TIniFile ini(Path());
    ini.WriteString(QStringLiteral("form\\form1"), QStringLiteral("Left"), QStringLiteral("左"));
    EXPECT_EQ(ReadFile(Path()), QByteArray("[Form\\Form1]\nTop=1\n; mine\nLeft=左\n"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Form\\Form1"), QStringLiteral("left"), QString()), QStringLiteral("左"));
    ini.DeleteKey(QStringLiteral("Form\\Form1"), QStringLiteral("Top"));
    ini.DeleteKey(QStringLiteral("Missing"), QStringLiteral("Top"));
    EXPECT_EQ(ReadFile(Path()), QByteArray("[Form\\Form1]\n; mine\nLeft=左\n"));
}

TEST_F(IniFileOnDisk, MissingFileReadsFallbackAndDeleteCreatesNothing)
{
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("V"), QStringLiteral("fb")), QStringLiteral("fb"));
    ini.DeleteKey(QStringLiteral("S"), QStringLiteral("V"));
    EXPECT_FALSE(QFile::exists(Path()));
}

TEST_F(IniFileOnDisk, DirectoryInPlaceOfFileReadsFallbackAndFailsWritesWithItsPath)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("settings.ini")));
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("V"), QStringLiteral("fb")), QStringLiteral("fb"));
    try {
        ini.WriteString(QStringLiteral("S"), QStringLiteral("V"), QStringLiteral("1"));
        FAIL() << "write into a directory succeeded";
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), Path() + QStringLiteral(" に書き込めません"));
    }
    EXPECT_THROW(ini.DeleteKey(QStringLiteral("S"), QStringLiteral("V")), Exception);
}

TEST_F(IniFileOnDisk, FileInPlaceOfItsDirectoryFailsWrites)
{
    WriteFile(Path(QStringLiteral("plain")), "x");
    TIniFile ini(Path(QStringLiteral("plain/settings.ini")));
    EXPECT_THROW(ini.WriteString(QStringLiteral("S"), QStringLiteral("V"), QStringLiteral("1")), Exception);
}

TEST_F(IniFileOnDisk, FileWithoutPermissionFailsWritesAndStaysAsItWas)
{
    WriteFile(Path(), "[S]\nV=old\n");
    TIniFile ini(Path());
    // Permissions do not bind the superuser: the writes then run as an ordinary user, to whom
    // the folder (the superuser's) is not writable either.
    const bool root = geteuid() == 0;
    if (root)
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                              | QFileDevice::ReadOther | QFileDevice::ExeOther);
    for (auto permission : {QFileDevice::ReadOwner, QFileDevice::WriteOwner}) {
        QFile::setPermissions(Path(), permission);
        if (root)
            setfsuid(65534);
        EXPECT_THROW(ini.WriteString(QStringLiteral("S"), QStringLiteral("V"), QStringLiteral("new")), Exception);
        if (root)
            setfsuid(0);
        QFile::setPermissions(Path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        EXPECT_EQ(ReadFile(Path()), QByteArray("[S]\nV=old\n"));
    }
}

TEST_F(IniFileOnDisk, FailingWriteLeavesTheOldFileWhole)
{
    // The file size limit makes the write of the temporary file fail half way, as a full disk does.
    const QByteArray old = "[S]\nV=old\n" + QByteArray(2000, ';') + "\n";
    WriteFile(Path(), old);
    TIniFile ini(Path());
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool failed = false;
    try {
        ini.WriteString(QStringLiteral("S"), QStringLiteral("V"), QString(8000, QLatin1Char('n')));
    } catch (const Exception &e) {
        failed = e.Message() == Path() + QStringLiteral(" に書き込めません");
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_TRUE(failed);
    EXPECT_EQ(ReadFile(Path()), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList(QStringLiteral("settings.ini")));
}

TEST_F(IniFileOnDisk, FiftyMegabyteFileIsReadAndChanged)
{
    QByteArray big = "[Junk]\n";
    const QByteArray line = "k=" + QByteArray(1024 * 1024, 'x') + "\n";
    for (int i = 0; i < 50; ++i)
        big += line;
    big += "[Form\\Form1]\nTop=7\n";
    WriteFile(Path(), big);
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString(QStringLiteral("Form\\Form1"), QStringLiteral("Top"), QString()), QStringLiteral("7"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Junk"), QStringLiteral("k"), QString()).size(), 2047);
    ini.WriteString(QStringLiteral("Form\\Form1"), QStringLiteral("Top"), QStringLiteral("8"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Form\\Form1"), QStringLiteral("Top"), QString()), QStringLiteral("8"));
    EXPECT_EQ(QFileInfo(Path()).size(), big.size());
}

namespace {

// Child side of the kill test: writes the series over and over until it is killed.
[[noreturn]] void WriteUntilKilled(const QString &file)
{
    TIniFile ini(file);
    for (int generation = 1;; ++generation)
        for (int j = 0; j < 20; ++j)
            ini.WriteString(QStringLiteral("Values"), QStringLiteral("E%1").arg(j), QString::number(generation));
}

} // namespace

namespace {

// The file must hold the whole padding section and twenty entries whose generations read, in
// order, k ... k, k-1 ... k-1: the state after some complete write of the series.
bool IsCompleteState(const QByteArray &text, const QByteArray &padding, int &generation)
{
    if (!text.startsWith(padding))
        return false;
    const TIniData data = TIniData::Parse(text);
    if (data.Idents(QStringLiteral("Values")).size() != 20 || !text.endsWith('\n'))
        return false;
    int first = data.ReadString(QStringLiteral("Values"), QStringLiteral("E0"), QString()).toInt();
    bool dropped = false;
    for (int j = 0; j < 20; ++j) {
        const int g = data.ReadString(QStringLiteral("Values"), QStringLiteral("E%1").arg(j), QString()).toInt();
        if (g == first - 1 && !dropped)
            dropped = true;
        else if (g != (dropped ? first - 1 : first))
            return false;
    }
    generation = first;
    return true;
}

} // namespace

TEST(IniKill, KilledWriterLeavesTheOldOrTheNewCompleteFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("settings.ini"));
    QByteArray padding = "[Padding]\n";
    for (int i = 0; i < 3000; ++i)
        padding += "line" + QByteArray::number(i) + "=" + QByteArray(60, 'p') + "\n";
    QByteArray initial = padding + "[Values]\n";
    for (int j = 0; j < 20; ++j)
        initial += "E" + QByteArray::number(j) + "=0\n";
    WriteFile(file, initial);

    int lastGeneration = 0;
    for (int round = 0; round < 6; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            WriteUntilKilled(file);
        // Wait for the child's writes to begin, then kill it at a random moment among them.
        QElapsedTimer waited;
        waited.start();
        int generation = lastGeneration;
        while (waited.elapsed() < 20000) {
            QString v;
            if (FindIniValue(ReadFile(file), QStringLiteral("Values"), QStringLiteral("E0"), v) && v.toInt() > lastGeneration)
                break;
            QThread::msleep(2);
        }
        QThread::msleep(QRandomGenerator::global()->bounded(5, 60));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const QByteArray text = ReadFile(file);
        ASSERT_TRUE(IsCompleteState(text, padding, generation)) << "round " << round << ", " << text.size() << " bytes";
        EXPECT_GT(generation, lastGeneration) << "the child wrote nothing in round " << round;
        lastGeneration = generation;
    }
}
