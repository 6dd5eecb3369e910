#include "settings/KeyStore.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class KeyStoreTest : public testing::Test {
protected:
    QTemporaryDir dir;
    QString File() const { return dir.filePath(QStringLiteral("user/store.keys")); }
    TKeyStore store{File()};

    QString MessageOf(const std::function<void()> &action)
    {
        try {
            action();
        } catch (const Exception &e) {
            return e.Message();
        }
        return QStringLiteral("<no failure>");
    }
};

} // namespace

TEST_F(KeyStoreTest, StringsAndBinariesRoundTripWithKeysMatchedIgnoringCase)
{
    const QString texts[] = {QString(), QStringLiteral(" blanks "), QStringLiteral("two\nlines\r\n"),
                             QStringLiteral("日本語 %20 text"), QStringLiteral("100%")};
    int n = 0;
    for (const QString &t : texts)
        store.WriteString(QStringLiteral("Software\\Pigmora\\Form\\Form1"), QStringLiteral("v %1").arg(n++), t);
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    store.WriteBinary(QStringLiteral("software\\PIGMORA\\Form\\Form1"), QStringLiteral("prop"), bytes);
    store.WriteBinary(QStringLiteral("Software\\Pigmora"), QStringLiteral("empty"), QByteArray());

    TKeyStore again(File());
    n = 0;
    for (const QString &t : texts)
        EXPECT_EQ(again.ReadString(QStringLiteral("\\SOFTWARE\\pigmora\\form\\form1\\"), QStringLiteral("V %1").arg(n++), QStringLiteral("fb")), t);
    QByteArray back;
    EXPECT_TRUE(again.ReadBinary(QStringLiteral("Software\\Pigmora\\Form\\Form1"), QStringLiteral("PROP"), back));
    EXPECT_EQ(back, bytes);
    EXPECT_TRUE(again.ReadBinary(QStringLiteral("Software\\Pigmora"), QStringLiteral("empty"), back));
    EXPECT_TRUE(back.isEmpty());
    EXPECT_FALSE(again.ReadBinary(QStringLiteral("Software\\Pigmora"), QStringLiteral("none"), back));
    EXPECT_EQ(again.ReadString(QStringLiteral("No\\Such"), QStringLiteral("v"), QStringLiteral("fb")), QStringLiteral("fb"));
    EXPECT_EQ(again.Keys(), QStringList({QStringLiteral("Software\\Pigmora\\Form\\Form1"), QStringLiteral("Software\\Pigmora")}));
}

TEST_F(KeyStoreTest, WrongValueTypeFailsWithItsMessage)
{
    store.WriteBinary(QStringLiteral("K"), QStringLiteral("bin"), "\x01");
    store.WriteString(QStringLiteral("K"), QStringLiteral("text"), QStringLiteral("x"));
    QByteArray bytes;
    EXPECT_EQ(MessageOf([&] { store.ReadString(QStringLiteral("K"), QStringLiteral("bin"), QString()); }),
              QStringLiteral("'bin' のデータ型が不正です"));
    EXPECT_EQ(MessageOf([&] { store.ReadBinary(QStringLiteral("K"), QStringLiteral("text"), bytes); }),
              QStringLiteral("'text' のデータ型が不正です"));
    // A value written again takes the new type.
    store.WriteString(QStringLiteral("K"), QStringLiteral("BIN"), QStringLiteral("now text"));
    EXPECT_EQ(store.ReadString(QStringLiteral("K"), QStringLiteral("bin"), QString()), QStringLiteral("now text"));
    EXPECT_EQ(store.ValueNames(QStringLiteral("K")), QStringList({QStringLiteral("bin"), QStringLiteral("text")}));
}

TEST_F(KeyStoreTest, NamesThatCouldEscapeOrBreakTheStoreFailWithTheMatchingMessage)
{
    EXPECT_EQ(MessageOf([&] { store.CreateKey(QStringLiteral("Software\\..\\..\\etc")); }),
              QStringLiteral("キー Software\\..\\..\\etc の作成に失敗しました"));
    EXPECT_EQ(MessageOf([&] { store.WriteString(QStringLiteral("a\\.\\b"), QStringLiteral("v"), QString()); }),
              QStringLiteral("キー a\\.\\b の作成に失敗しました"));
    EXPECT_EQ(MessageOf([&] { store.CreateKey(QStringLiteral("bad") + QChar(0) + QStringLiteral("key")); }).left(3),
              QStringLiteral("キー "));
    const QString nulName = QStringLiteral("v") + QChar(0);
    EXPECT_EQ(MessageOf([&] { store.WriteString(QStringLiteral("K"), nulName, QString()); }),
              QStringLiteral("'%1' の設定に失敗しました").arg(nulName));
    EXPECT_EQ(MessageOf([&] { store.ReadString(QStringLiteral("K"), nulName, QString()); }),
              QStringLiteral("'%1' の取得に失敗しました").arg(nulName));
    // A name that is merely unusual is stored like any other.
    store.WriteString(QStringLiteral("/etc/passwd"), QStringLiteral("../x y"), QStringLiteral("ok"));
    EXPECT_EQ(store.ReadString(QStringLiteral("/etc/passwd"), QStringLiteral("../x y"), QString()), QStringLiteral("ok"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList(QStringLiteral("user")));
}

TEST_F(KeyStoreTest, UnusableStoreFileFailsReadsAndWritesAndKeepsItsPlace)
{
    ASSERT_TRUE(QDir().mkpath(File()));
    QByteArray bytes;
    EXPECT_EQ(MessageOf([&] { store.ReadString(QStringLiteral("K"), QStringLiteral("v"), QString()); }),
              QStringLiteral("'v' の取得に失敗しました"));
    EXPECT_EQ(MessageOf([&] { store.ReadBinary(QStringLiteral("K"), QStringLiteral("v"), bytes); }),
              QStringLiteral("'v' の取得に失敗しました"));
    EXPECT_EQ(MessageOf([&] { store.CreateKey(QStringLiteral("K")); }), QStringLiteral("キー K の作成に失敗しました"));
    EXPECT_EQ(MessageOf([&] { store.WriteString(QStringLiteral("K"), QStringLiteral("v"), QString()); }),
              QStringLiteral("'v' の設定に失敗しました"));
    EXPECT_TRUE(QFileInfo(File()).isDir());
}

TEST_F(KeyStoreTest, WriteThatCannotCompleteFailsWithTheFileName)
{
    QFile blocker(dir.filePath(QStringLiteral("user")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(MessageOf([&] { store.WriteString(QStringLiteral("K"), QStringLiteral("v"), QString()); }),
              File() + QStringLiteral(" に書き込めません"));
}

TEST(KeyStoreText, BadLinesAreSkipped)
{
    const QByteArray text = "PIGMORA-KEYS 1\n"
                            "S orphan x\n"             // a value before any key
                            "K Soft\\App\n"
                            "S good hello%20world\n"
                            "S bad%G1 x\n"              // broken escape in the name
                            "B odd ABC\n"               // odd-length hex
                            "B nonhex ZZ\n"
                            "B bin 00FF\n"
                            "Xgarbage\x01\xff\n"
                            "K a\\..\\b\n"              // a key that cannot exist
                            "S hidden 1\n"
                            "S\n";
    const std::vector<TKeyStore::TKey> keys = TKeyStore::Parse(text);
    ASSERT_EQ(keys.size(), 1u);
    ASSERT_EQ(keys[0].values.size(), 2u);
    EXPECT_EQ(keys[0].values[0].text, QStringLiteral("hello world"));
    EXPECT_EQ(keys[0].values[1].bytes, QByteArray("\x00\xFF", 2));
    EXPECT_EQ(TKeyStore::Parse(TKeyStore::Serialize(keys)).size(), 1u);
}
