#include "colour/PaletteJson.h"

#include <gtest/gtest.h>

namespace {

std::optional<TJsonValue> Read(const QByteArray &text)
{
    QString why;
    auto v = ReadJson(text, why);
    EXPECT_EQ(v.has_value(), why.isEmpty()) << text.toStdString();
    return v;
}

TEST(PaletteJson, KeepsMembersInOrderAndReadsEscapes)
{
    const auto v = Read(R"( {"z": 1, "a": [true, false, null, -0.5e1], "m": "\u00fc\ud83c\udfa8\n\"\\\/", "z": 2} )");
    ASSERT_TRUE(v);
    ASSERT_EQ(v->Members.size(), 4u);
    EXPECT_EQ(v->Members[1].Name, QStringLiteral("a"));
    EXPECT_EQ(v->Member(QStringLiteral("z"))->Number, 2); // the last of a name given twice
    EXPECT_EQ(v->Member(QStringLiteral("a"))->Items[3].Number, -5);
    EXPECT_EQ(v->Member(QStringLiteral("m"))->String, QStringLiteral("ü\U0001F3A8\n\"\\/"));
    // A lone surrogate reads as the replacement character, never as broken UTF-16.
    EXPECT_EQ(Read(R"("\ud83c")")->String, QStringLiteral("\uFFFD"));
    EXPECT_EQ(JsonString(QStringLiteral("a\"b\\c\x01\n")), QByteArray(R"("a\"b\\c\u0001\n")"));
    const QString round = QStringLiteral("tab\there \u00e9 \U0001F3A8 \"q\"");
    EXPECT_EQ(Read(JsonString(round))->String, round);
}

TEST(PaletteJson, RefusesWhatIsNoJson)
{
    for (const char *text : {"", "01", "1.", "-", ".5", "+1", "1e", "[1,]", "{\"a\" 1}", "{\"a\":1,}", "\"a", "\"\t\"", "\"\\x\"",
                             "\"\\u12\"", "nul", "[1] 2", "{1: 2}", "1e999"})
        EXPECT_FALSE(Read(text)) << text;
    EXPECT_TRUE(Read("\xEF\xBB\xBF [ ]"));
}

} // namespace
