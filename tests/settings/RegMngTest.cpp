#include "settings/RegMng.h"

#include "framework/ColorDialog.h"
#include "settings/IniFile.h"
#include "settings/KeyStore.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <map>

namespace {

class TTestComponent : public TComponent {
public:
    using TComponent::TComponent;
    QString ClassName() const override { return QStringLiteral("TTestComponent"); }
};

class StoreTest : public testing::Test {
protected:
    QTemporaryDir dir;
    TRecordingMessageSink sink;
    TRegManager manager{nullptr, sink};

    StoreTest()
    {
        manager.RegType = rtIni;
        manager.IniFileName = dir.filePath(QStringLiteral("Pigmora.ini"));
        manager.KeyStoreFile = dir.filePath(QStringLiteral("config/Pigmora/keys"));
        manager.RegDir = QStringLiteral("Software\\Pigmora");
        AddForm1RegItems(*manager.RegItems());
        manager.RegItems()->Add(QStringLiteral("List"), QStringLiteral("Form\\List"), QStringLiteral("L"), QString());
        manager.RegItems()->Add(QStringLiteral("Text"), QStringLiteral("Form\\Text"), QStringLiteral("T"), QStringLiteral("def"));
        manager.RegItems()->Add(QStringLiteral("Font"), QStringLiteral("Form\\Font"), QStringLiteral("F"), QString());
    }

    QByteArray IniText() const
    {
        QFile f(manager.IniFileName);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void SetIniText(const QByteArray &text)
    {
        QFile f(manager.IniFileName);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    QString Entry(const QString &section, const QString &ident) const
    {
        return TIniFile(manager.IniFileName).ReadString(section, ident, QStringLiteral("<none>"));
    }
    QByteArray ReadStreamOf(const QString &item)
    {
        QBuffer buffer;
        buffer.open(QIODevice::ReadWrite);
        manager.Filer(item)->ReadStream(&buffer);
        return buffer.data();
    }
    void WriteStreamOf(const QString &item, QByteArray bytes)
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        buffer.seek(bytes.size() / 2); // stored whole whatever the position
        manager.Filer(item)->WriteStream(&buffer);
    }
    std::vector<QString> Texts() const
    {
        std::vector<QString> out;
        for (const auto &m : sink.Messages)
            out.push_back(m.text);
        return out;
    }
};

} // namespace

TEST(Form1Items, SixteenItemsInTheirOrderWithTheStoredSpelling)
{
    TRegItems items;
    AddForm1RegItems(items);
    ASSERT_EQ(items.Count(), 16);
    EXPECT_EQ(items.GetItem(0)->Name, QStringLiteral("ColorDialogComponent"));
    EXPECT_EQ(items.GetItem(4)->Section, QStringLiteral("From\\ColorPickerDialog"));
    EXPECT_EQ(items.GetItem(3)->DefaultValue, QStringLiteral("$00D1B598"));
    EXPECT_EQ(items.GetItem(15)->Section, QStringLiteral("Form\\TemporaryPalette26"));
    EXPECT_EQ(items.GetItem(16), nullptr);
}

TEST_F(StoreTest, LookupIgnoresCaseAndTheFirstOfTwoNamesWins)
{
    manager.RegItems()->Add(QStringLiteral("FORM1TOP"), QStringLiteral("Other"), QStringLiteral("Top"), QStringLiteral("5"));
    TRegFiler *filer = manager.Filer(QStringLiteral("form1top"));
    ASSERT_NE(filer->Item, nullptr);
    EXPECT_EQ(filer->Item->Section, QStringLiteral("Form\\Form1"));
    EXPECT_EQ(filer->ReadInteger(), 100);
    EXPECT_TRUE(sink.Messages.empty());
}

TEST_F(StoreTest, UnknownNameShowsItsBoxAndReadsNothing)
{
    SetIniText("[Form\\Form1]\nTop=5\n");
    TRegFiler *filer = manager.Filer(QStringLiteral("Nothing"));
    ASSERT_EQ(sink.Messages.size(), 1u);
    EXPECT_EQ(sink.Messages[0].kind, TMessageKind::StoreError);
    EXPECT_EQ(sink.Messages[0].caption, QStringLiteral("エラー"));
    EXPECT_EQ(sink.Messages[0].text, QStringLiteral("[' Nothing '] is invalid."));
    EXPECT_EQ(filer->ReadInteger(), 0);
    EXPECT_EQ(filer->ReadString(), QString());
    EXPECT_FALSE(filer->ReadBool());
    filer->WriteInteger(9);
    QStringList list{QStringLiteral("kept")};
    filer->ReadStrings(&list);
    EXPECT_EQ(list, QStringList{QStringLiteral("kept")});
    EXPECT_EQ(IniText(), QByteArray("[Form\\Form1]\nTop=5\n"));
    EXPECT_EQ(sink.Messages.size(), 1u);
}

TEST_F(StoreTest, SharedFilerFollowsTheLatestLookup)
{
    SetIniText("[Form\\Form1]\nTop=5\nLeft=6\n");
    TRegFiler *top = manager.Filer(QStringLiteral("Form1Top"));
    TRegFiler *left = manager.Filer(QStringLiteral("Form1Left"));
    EXPECT_EQ(top, left);
    EXPECT_EQ(top->ReadInteger(), 6);
}

TEST_F(StoreTest, UnavailableBackendsShowTheirOwnMessageAndReadTheDefault)
{
    manager.IniFileName.clear();
    EXPECT_EQ(manager.Filer(QStringLiteral("fMyColor"))->ReadInteger(), 13743512);
    manager.Filer(QStringLiteral("fMyColor"))->WriteInteger(1);
    manager.RegType = rtReg;
    manager.RegDir.clear();
    EXPECT_EQ(manager.Filer(QStringLiteral("Text"))->ReadString(), QStringLiteral("def"));
    // A list write touches several entries and shows the box for each.
    const QStringList two{QStringLiteral("a"), QStringLiteral("b")};
    manager.Filer(QStringLiteral("List"))->WriteStrings(&two);
    const QString ini = QStringLiteral("can not create Inifile object.");
    const QString reg = QStringLiteral("can not create Registry object.");
    EXPECT_EQ(Texts(), (std::vector<QString>{ini, ini, reg, reg, reg, reg, reg}));
    EXPECT_FALSE(QFile::exists(manager.KeyStoreFile));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Pigmora.ini"))));
}

TEST_F(StoreTest, IntegersFollowTheNumberRule)
{
    manager.Filer(QStringLiteral("Form1Top"))->WriteInteger(-5);
    EXPECT_EQ(IniText(), QByteArray("[Form\\Form1]\nTop=-5\n"));
    const std::pair<const char *, int> cases[] = {{" $1F", 31}, {"12abc", 0}, {"0x7fffffff", 2147483647}, {"$FFFFFFFF", -1},
                                                  {"-2147483648", -2147483647 - 1}, {"2147483648", 0}, {"", 0}};
    for (const auto &[text, expected] : cases) {
        SetIniText(QByteArray("[Form\\Form1]\nTop=") + text + "\n");
        EXPECT_EQ(manager.Filer(QStringLiteral("Form1Top"))->ReadInteger(), expected) << text;
    }
}

struct BoolCase {
    const char *defaultValue;
    const char *stored; // nullptr: nothing stored
    bool expected;
};

class ReadBoolTest : public StoreTest, public testing::WithParamInterface<BoolCase> {};

TEST_P(ReadBoolTest, OnlyTheDefaultIsMatchedAgainstWords)
{
    const BoolCase c = GetParam();
    manager.RegItems()->Add(QStringLiteral("Flag"), QStringLiteral("S"), QStringLiteral("B"), QString::fromUtf8(c.defaultValue));
    if (c.stored)
        SetIniText(QByteArray("[S]\nB=") + c.stored + "\n");
    EXPECT_EQ(manager.Filer(QStringLiteral("Flag"))->ReadBool(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadBoolTest,
                         testing::Values(BoolCase{"yes", nullptr, true}, BoolCase{"TRUE", "TRUE", false},
                                         BoolCase{"1", nullptr, true}, BoolCase{"true", nullptr, true},
                                         BoolCase{"2", nullptr, false}, BoolCase{"", "256", false},
                                         BoolCase{"", "2", true}, BoolCase{"yes", "0", false},
                                         BoolCase{"", "YES", false}, BoolCase{"", "$101", true}));

TEST_F(StoreTest, ShorterListDeletesLinesPastItsEndAndEmptyListLeavesNothing)
{
    TRegFiler *filer = manager.Filer(QStringLiteral("List"));
    const QStringList five{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("e")};
    filer->WriteStrings(&five);
    const QStringList three{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
    filer->WriteStrings(&three);
    EXPECT_EQ(IniText(), QByteArray("[Form\\List]\nL_ItemCount=3\nL_Item0=1\nL_Item1=2\nL_Item2=3\n"));
    const QStringList two{QStringLiteral("x"), QStringLiteral("y")};
    filer->WriteStrings(&two);
    const QStringList none;
    filer->WriteStrings(&none);
    EXPECT_EQ(IniText(), QByteArray("[Form\\List]\n"));
    QStringList read{QStringLiteral("old")};
    filer->ReadStrings(&read);
    EXPECT_TRUE(read.isEmpty());
}

TEST_F(StoreTest, StreamsAreStoredAs64CharacterHexLines)
{
    WriteStreamOf(QStringLiteral("ColorDialogComponent"), QByteArray(64, '\xAB'));
    EXPECT_EQ(Entry(QStringLiteral("Form\\ColorDialog"), QStringLiteral("prop_c")), QStringLiteral("2"));
    EXPECT_EQ(Entry(QStringLiteral("Form\\ColorDialog"), QStringLiteral("prop_d1")), QStringLiteral("AB").repeated(32));
    WriteStreamOf(QStringLiteral("ColorDialogComponent"), QByteArray(65, '\x01'));
    EXPECT_EQ(Entry(QStringLiteral("Form\\ColorDialog"), QStringLiteral("prop_c")), QStringLiteral("3"));
    EXPECT_EQ(Entry(QStringLiteral("Form\\ColorDialog"), QStringLiteral("prop_d2")), QStringLiteral("01"));
    EXPECT_EQ(ReadStreamOf(QStringLiteral("ColorDialogComponent")), QByteArray(65, '\x01'));
    WriteStreamOf(QStringLiteral("ColorDialogComponent"), QByteArray());
    EXPECT_EQ(IniText(), QByteArray("[Form\\ColorDialog]\n"));
}

TEST_F(StoreTest, ReadStreamAppendsAtTheCurrentPosition)
{
    WriteStreamOf(QStringLiteral("ColorDialogComponent"), "\x01\x02");
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    buffer.write("head");
    manager.Filer(QStringLiteral("ColorDialogComponent"))->ReadStream(&buffer);
    EXPECT_EQ(buffer.data(), QByteArray("head\x01\x02"));
}

TEST_F(StoreTest, ReadComponentWithNothingStoredKeepsTheComponent)
{
    TTestComponent owner;
    auto *dialog = new TTestComponent(&owner);
    dialog->SetName(QStringLiteral("ColorPickerDialog"));
    dialog->Tag = 3;
    EXPECT_EQ(manager.Filer(QStringLiteral("ColorPickerDialogComponent"))->ReadComponent(dialog), dialog);
    EXPECT_EQ(owner.FindComponent(QStringLiteral("ColorPickerDialog")), dialog);
    EXPECT_EQ(dialog->Tag, 3);
    EXPECT_EQ(manager.Filer(QStringLiteral("Nothing"))->ReadComponent(dialog), dialog);
    EXPECT_EQ(manager.Filer(QStringLiteral("Form1Top"))->ReadComponent(nullptr), nullptr);
}

TEST_F(StoreTest, StoreFailuresReachTheCaller)
{
    manager.IniFileName = dir.path();
    try {
        manager.Filer(QStringLiteral("Form1Top"))->WriteInteger(1);
        FAIL() << "writing over a directory succeeded";
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), dir.path() + QStringLiteral(" に書き込めません"));
    }
    EXPECT_EQ(manager.Filer(QStringLiteral("Form1Top"))->ReadInteger(), 100);
    EXPECT_TRUE(sink.Messages.empty());
}

TEST_F(StoreTest, UnreadableFontColourFailsAfterNameAndSize)
{
    SetIniText("[Form\\Font]\nF_FontName=IPAPGothic\nF_FontSize=12\nF_FontColor=clNoSuch\nF_FontStyle=3\n");
    TFontValue font;
    EXPECT_THROW(manager.Filer(QStringLiteral("Font"))->ReadFont(&font), EConvertError);
    EXPECT_EQ(font.Name, QStringLiteral("IPAPGothic"));
    EXPECT_EQ(font.Size, 12);
    EXPECT_EQ(font.Color, clWindowText);
    EXPECT_EQ(font.Style, 0);
}

TEST_F(StoreTest, FontColoursAreStoredAsColourTexts)
{
    TFontValue font{QStringLiteral("ＭＳ Ｐゴシック"), 10, clRed, fsBold | fsUnderline};
    manager.Filer(QStringLiteral("Font"))->WriteFont(&font);
    EXPECT_EQ(IniText(), QByteArray("[Form\\Font]\nF_FontName=ＭＳ Ｐゴシック\nF_FontSize=10\nF_FontColor=clRed\nF_FontStyle=5\n"));
    font.Color = 0x123456;
    manager.Filer(QStringLiteral("Font"))->WriteFont(&font);
    EXPECT_EQ(Entry(QStringLiteral("Form\\Font"), QStringLiteral("F_FontColor")), QStringLiteral("$00123456"));
    SetIniText("[Form\\Font]\nF_FontColor=CLBTNFACE\nF_FontSize=x\n");
    TFontValue read;
    manager.Filer(QStringLiteral("Font"))->ReadFont(&read);
    EXPECT_EQ(read.Color, clBtnFace);
    EXPECT_EQ(read.Size, 9);
}

TEST_F(StoreTest, RegistryLayoutKeepsSectionsBelowRegDirAndStreamsAsOneBinaryValue)
{
    manager.RegType = rtReg;
    manager.RegItems()->Add(QStringLiteral("Rooted"), QStringLiteral("\\Other\\Place"), QStringLiteral("V"), QString());
    manager.Filer(QStringLiteral("Form1Top"))->WriteInteger(-5);
    manager.Filer(QStringLiteral("Rooted"))->WriteString(QStringLiteral("r"));
    WriteStreamOf(QStringLiteral("ColorPickerDialogComponent"), QByteArray("\x00\x01\xFF", 3));
    TKeyStore store(manager.KeyStoreFile);
    EXPECT_EQ(store.ReadString(QStringLiteral("Software\\Pigmora\\Form\\Form1"), QStringLiteral("Top"), QString()), QStringLiteral("-5"));
    EXPECT_EQ(store.ReadString(QStringLiteral("Other\\Place"), QStringLiteral("V"), QString()), QStringLiteral("r"));
    QByteArray bytes;
    EXPECT_TRUE(store.ReadBinary(QStringLiteral("Software\\Pigmora\\From\\ColorPickerDialog"), QStringLiteral("prop"), bytes));
    EXPECT_EQ(bytes, QByteArray("\x00\x01\xFF", 3));
    // A stream read where a string is stored is a store failure that reaches the caller.
    store.WriteString(QStringLiteral("Software\\Pigmora\\Form\\ColorDialog"), QStringLiteral("prop"), QStringLiteral("x"));
    EXPECT_THROW(ReadStreamOf(QStringLiteral("ColorDialogComponent")), Exception);
}

// Every kind of value through both backends.
class RoundTrip : public StoreTest, public testing::WithParamInterface<TRegType> {};

TEST_P(RoundTrip, EveryValueKindReadsBackWhatWasWritten)
{
    manager.RegType = GetParam();
    const QStringList texts{QStringLiteral("日本語のテキスト"), QString(), QStringLiteral("  blanks  "),
                            QStringLiteral("line\nbreak\r\n"), QStringLiteral("\"quoted\""), QStringLiteral("a=b;c")};
    for (const QString &t : texts) {
        manager.Filer(QStringLiteral("Text"))->WriteString(t);
        EXPECT_EQ(manager.Filer(QStringLiteral("Text"))->ReadString(), t);
    }
    for (std::int32_t v : {0, -5, 13743512, -2147483647 - 1, 2147483647}) {
        manager.Filer(QStringLiteral("fMyColor"))->WriteInteger(v);
        EXPECT_EQ(manager.Filer(QStringLiteral("fMyColor"))->ReadInteger(), v);
    }
    for (bool b : {true, false}) {
        manager.Filer(QStringLiteral("Text"))->WriteBool(b);
        EXPECT_EQ(manager.Filer(QStringLiteral("Text"))->ReadBool(), b);
    }
    for (TColor c : {clRed, clNone, clInfoBk, TColor(0x00ABCDEF)}) {
        const TFontValue font{QStringLiteral(" ＭＳ ゴシック "), 11, c, fsItalic | fsStrikeOut};
        manager.Filer(QStringLiteral("Font"))->WriteFont(&font);
        TFontValue back{QStringLiteral("x"), 1, clBlack, 0};
        manager.Filer(QStringLiteral("Font"))->ReadFont(&back);
        EXPECT_EQ(back.Name, font.Name);
        EXPECT_EQ(back.Size, 11);
        EXPECT_EQ(back.Color, c);
        EXPECT_EQ(back.Style, fsItalic | fsStrikeOut);
    }
    for (const QStringList &list : {texts, QStringList{}, QStringList{QString()}}) {
        manager.Filer(QStringLiteral("List"))->WriteStrings(&list);
        QStringList back{QStringLiteral("old")};
        manager.Filer(QStringLiteral("List"))->ReadStrings(&back);
        EXPECT_EQ(back, list);
    }
    QByteArray bytes;
    for (int i = 0; i < 300; ++i)
        bytes += static_cast<char>(i * 7);
    for (const QByteArray &b : {bytes, QByteArray(), QByteArray(1, '\0')}) {
        WriteStreamOf(QStringLiteral("ColorDialogComponent"), b);
        EXPECT_EQ(ReadStreamOf(QStringLiteral("ColorDialogComponent")), b);
    }
    EXPECT_TRUE(sink.Messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Backends, RoundTrip, testing::Values(rtIni, rtReg),
                         [](const testing::TestParamInfo<TRegType> &info) {
                             return info.param == rtIni ? std::string("Ini") : std::string("Registry");
                         });

// A filer that keeps entries in memory: the typed operations must all reach it.
class TMemoryFiler : public TRegFiler {
public:
    using TRegFiler::TRegFiler;
    std::map<QString, QString> Entries;
    int Reads = 0;
    int Writes = 0;
    QString ReadEntry(const QString &section, const QString &ident, const QString &defaultValue) override
    {
        ++Reads;
        const auto it = Entries.find(section + QLatin1Char('/') + ident);
        return it == Entries.end() ? defaultValue : it->second;
    }
    void WriteEntry(const QString &section, const QString &ident, const QString &value) override
    {
        ++Writes;
        Entries[section + QLatin1Char('/') + ident] = value;
    }
};

class TMemoryManager : public TRegManager {
public:
    using TRegManager::TRegManager;

protected:
    TRegFiler *CreateFiler() override { return new TMemoryFiler(this); }
};

TEST(Descendant, OverriddenEntryAccessCarriesEveryTypedOperation)
{
    TRecordingMessageSink sink;
    TMemoryManager manager(nullptr, sink);
    manager.RegType = rtIni; // no file name: the real backend would complain at every access
    AddForm1RegItems(*manager.RegItems());
    auto *filer = dynamic_cast<TMemoryFiler *>(manager.Filer(QStringLiteral("Form1Top")));
    ASSERT_NE(filer, nullptr);
    filer->WriteInteger(42);
    EXPECT_EQ(manager.Filer(QStringLiteral("Form1Top"))->ReadInteger(), 42);
    manager.Filer(QStringLiteral("Form1Left"))->WriteBool(true);
    EXPECT_TRUE(manager.Filer(QStringLiteral("Form1Left"))->ReadBool());
    const QStringList list{QStringLiteral("a"), QStringLiteral("b")};
    manager.Filer(QStringLiteral("fMyColor"))->WriteStrings(&list);
    QStringList back;
    manager.Filer(QStringLiteral("fMyColor"))->ReadStrings(&back);
    EXPECT_EQ(back, list);
    const TFontValue font{QStringLiteral("f"), 8, clBlue, fsBold};
    manager.Filer(QStringLiteral("Form1Top"))->WriteFont(&font);
    TFontValue fontBack;
    manager.Filer(QStringLiteral("Form1Top"))->ReadFont(&fontBack);
    EXPECT_EQ(fontBack.Color, clBlue);
    EXPECT_EQ(filer->Entries.at(QStringLiteral("Form\\fMyColor/Integer_Item1")), QStringLiteral("b"));
    EXPECT_EQ(filer->Entries.at(QStringLiteral("Form\\Form1/Top_FontColor")), QStringLiteral("clBlue"));
    EXPECT_GT(filer->Reads, 0);
    EXPECT_EQ(filer->Writes, 1 + 1 + 3 + 4);
    EXPECT_TRUE(sink.Messages.empty());
}

struct CorpusCase {
    const char *file;
    const char *item;
    enum { Integer, Stream, List } kind;
    const char *expected; // integer text, hex bytes, or lines joined by "|"
};

class BadIniCorpus : public StoreTest, public testing::WithParamInterface<CorpusCase> {};

TEST_P(BadIniCorpus, ReadsTheExpectedFallbackQuickly)
{
    const CorpusCase c = GetParam();
    manager.IniFileName = QString(PIGMORA_TEST_DATA) + QStringLiteral("/ini/") + QString::fromLatin1(c.file);
    ASSERT_TRUE(QFile::exists(manager.IniFileName));
    QElapsedTimer timer;
    timer.start();
    TRegFiler *filer = manager.Filer(QString::fromLatin1(c.item));
    switch (c.kind) {
    case CorpusCase::Integer: EXPECT_EQ(filer->ReadInteger(), QByteArray(c.expected).toInt()); break;
    case CorpusCase::Stream: EXPECT_EQ(ReadStreamOf(QString::fromLatin1(c.item)).toHex(), QByteArray(c.expected)); break;
    case CorpusCase::List: {
        QStringList lines;
        filer->ReadStrings(&lines);
        EXPECT_EQ(lines.join(QLatin1Char('|')), QString::fromLatin1(c.expected));
        break;
    }
    }
    // Reading the component through the same entries never replaces it with a broken image.
    TTestComponent owner;
    auto *component = new TTestComponent(&owner);
    component->SetName(QStringLiteral("ColorPickerDialog"));
    EXPECT_EQ(manager.Filer(QStringLiteral("ColorPickerDialogComponent"))->ReadComponent(component), component);
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_TRUE(sink.Messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadIniCorpus,
    testing::Values(CorpusCase{"crlf_bom.ini", "Form1Top", CorpusCase::Integer, "7"},
                    CorpusCase{"unclosed_section.ini", "Form1Top", CorpusCase::Integer, "7"},
                    CorpusCase{"no_equals.ini", "Form1Top", CorpusCase::Integer, "100"},
                    CorpusCase{"empty_name.ini", "Form1Top", CorpusCase::Integer, "100"},
                    CorpusCase{"entry_before_section.ini", "Form1Top", CorpusCase::Integer, "100"},
                    CorpusCase{"binary_garbage.ini", "Form1Top", CorpusCase::Integer, "7"},
                    CorpusCase{"invalid_utf8.ini", "Form1Top", CorpusCase::Integer, "0"},
                    CorpusCase{"unclosed_quote.ini", "Form1Top", CorpusCase::Integer, "0"},
                    CorpusCase{"lone_cr.ini", "Form1Top", CorpusCase::Integer, "100"},
                    CorpusCase{"duplicate_section.ini", "Form1Top", CorpusCase::Integer, "100"},
                    CorpusCase{"overflow.ini", "Form1Top", CorpusCase::Integer, "0"},
                    CorpusCase{"hex_too_long.ini", "Form1Top", CorpusCase::Integer, "0"},
                    CorpusCase{"long_value.ini", "Form1Top", CorpusCase::Integer, "0"},
                    CorpusCase{"huge_count.ini", "ColorPickerDialogComponent", CorpusCase::Stream, "010203"},
                    CorpusCase{"negative_count.ini", "ColorPickerDialogComponent", CorpusCase::Stream, ""},
                    CorpusCase{"odd_line.ini", "ColorPickerDialogComponent", CorpusCase::Stream, "ab0c"},
                    CorpusCase{"non_hex_line.ini", "ColorPickerDialogComponent", CorpusCase::Stream, "0041000000"},
                    CorpusCase{"missing_line.ini", "ColorPickerDialogComponent", CorpusCase::Stream, "0103"},
                    CorpusCase{"truncated_image.ini", "ColorPickerDialogComponent", CorpusCase::Stream, "54504630125404"},
                    CorpusCase{"huge_list_count.ini", "List", CorpusCase::List, "a|"}),
    [](const testing::TestParamInfo<CorpusCase> &info) {
        std::string name = info.param.file;
        return name.substr(0, name.find('.'));
    });

TEST_F(StoreTest, HugeStoredCountIsNotWalkedWhenShrinking)
{
    SetIniText("[Form\\List]\nL_ItemCount=2000000000\nL_Item0=a\nL_Item1=b\nL_Item2=c\n");
    QElapsedTimer timer;
    timer.start();
    const QStringList one{QStringLiteral("z")};
    manager.Filer(QStringLiteral("List"))->WriteStrings(&one);
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(IniText(), QByteArray("[Form\\List]\nL_ItemCount=1\nL_Item0=z\n"));
}

namespace {

// Publishes what the program's picker dialog publishes, so its stored image can be checked here.
class TPickerDouble : public TComponent {
public:
    using TComponent::TComponent;
    QString ClassName() const override { return QStringLiteral("TColorPickerDialog"); }
    TColor Color = 0;
    QString Title;
    const TPropList &Properties() const override
    {
        static const TPropList props = [] {
            TPropList p = BaseProperties();
            AddProperty(p, OrdinalProperty(QStringLiteral("Color"), TPropKind::Color, &TPickerDouble::Color, 0));
            AddProperty(p, TextProperty(QStringLiteral("Title"), &TPickerDouble::Title));
            return p;
        }();
        return props;
    }
};

class TFormDouble : public TComponent {
public:
    TFormDouble() { DeclareReference(QStringLiteral("ColorDialog"), ColorDialog); }
    QString ClassName() const override { return QStringLiteral("TForm1"); }
    bool IsForm() const override { return true; }
    TColorDialog *ColorDialog = nullptr;
};

} // namespace

TEST_F(StoreTest, WorkedExampleComponentIsStoredAsItsThreeLines)
{
    TPickerDouble picker;
    picker.SetName(QStringLiteral("ColorPickerDialog"));
    picker.Color = 0x00D1B598;
    picker.Title = QStringLiteral("Color Picker");
    picker.DesignLeft = 280;
    picker.DesignTop = 104;
    manager.Filer(QStringLiteral("ColorPickerDialogComponent"))->WriteComponent(&picker);
    EXPECT_EQ(IniText(), QByteArray("[From\\ColorPickerDialog]\nprop_c=3\n"
                                    "prop_d0=545046301254436F6C6F725069636B65724469616C6F6711436F6C6F72506963\n"
                                    "prop_d1=6B65724469616C6F6705436F6C6F720498B5D100055469746C65060C436F6C6F\n"
                                    "prop_d2=72205069636B6572044C65667403180103546F700268000000\n"));
}

TEST_F(StoreTest, FormIsNotStoredAndLeavesEarlierEntries)
{
    WriteStreamOf(QStringLiteral("ColorDialogComponent"), "\x01");
    const QByteArray before = IniText();
    TFormDouble form;
    manager.Filer(QStringLiteral("ColorDialogComponent"))->WriteComponent(&form);
    EXPECT_EQ(IniText(), before);
}

class ComponentRoundTrip : public StoreTest, public testing::WithParamInterface<TRegType> {};

TEST_P(ComponentRoundTrip, StoredDialogReplacesTheComponentAndTheOwnersReference)
{
    TColorDialog::RegisterClass();
    manager.RegType = GetParam();
    TFormDouble form;
    auto *dialog = new TColorDialog(&form);
    dialog->SetName(QStringLiteral("ColorDialog"));
    ASSERT_EQ(form.ColorDialog, dialog);
    dialog->Color = 0x123456;
    dialog->Options = OptionBit(cdFullOpen) | OptionBit(cdSolidColor);
    dialog->CustomColors = QStringList{QStringLiteral("ColorA=FFFFFF"), QStringLiteral("ColorB=123456")};
    manager.Filer(QStringLiteral("ColorDialogComponent"))->WriteComponent(dialog);

    dialog->Color = 0;
    dialog->CustomColors.clear();
    TComponent *result = manager.Filer(QStringLiteral("ColorDialogComponent"))->ReadComponent(dialog);
    ASSERT_NE(form.ColorDialog, nullptr);
    EXPECT_EQ(result, form.ColorDialog);
    EXPECT_EQ(form.ColorDialog->Name(), QStringLiteral("ColorDialog"));
    EXPECT_EQ(form.ColorDialog->Color, 0x123456);
    EXPECT_EQ(form.ColorDialog->Options, OptionBit(cdFullOpen) | OptionBit(cdSolidColor));
    EXPECT_EQ(form.ColorDialog->CustomColors.size(), 2);
    EXPECT_EQ(form.Components().size(), 1u);

    // An image stored under another component's name is refused and changes nothing.
    form.ColorDialog->SetName(QStringLiteral("Renamed"));
    TComponent *kept = form.FindComponent(QStringLiteral("Renamed"));
    EXPECT_EQ(manager.Filer(QStringLiteral("ColorDialogComponent"))->ReadComponent(kept), kept);
    EXPECT_EQ(form.FindComponent(QStringLiteral("Renamed")), kept);
    EXPECT_TRUE(sink.Messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Backends, ComponentRoundTrip, testing::Values(rtIni, rtReg),
                         [](const testing::TestParamInfo<TRegType> &info) {
                             return info.param == rtIni ? std::string("Ini") : std::string("Registry");
                         });
