#include "desktop/CommandLine.h"

#include <gtest/gtest.h>

namespace {

using A = TCommandLine::TAction;

TCommandLine Parse(const std::vector<const char *> &args)
{
    QStringList list{QStringLiteral("pigmora")};
    for (const char *a : args)
        list << QString::fromUtf8(a);
    return ParseCommandLine(list);
}

TEST(CommandLine, OptionsBeforeOrAfterTheColour)
{
    EXPECT_EQ(Parse({}).Action, A::Window);
    EXPECT_EQ(Parse({"#336699"}).Colour, QStringLiteral("#336699"));
    EXPECT_EQ(Parse({"-h"}).Action, A::Help);
    EXPECT_EQ(Parse({"#336699", "--help"}).Action, A::Help);
    EXPECT_EQ(Parse({"-v"}).Action, A::Version);
    EXPECT_EQ(Parse({"--version", "junk"}).Action, A::Version);
    const TCommandLine c = Parse({"--to", "html,rgb", "--convert", "oklch(0.7 0.1 200)", "--srgb"});
    EXPECT_EQ(c.Action, A::Convert);
    EXPECT_EQ(c.ConvertText, QStringLiteral("oklch(0.7 0.1 200)"));
    EXPECT_EQ(c.To, (QStringList{QStringLiteral("html"), QStringLiteral("rgb")}));
    EXPECT_TRUE(c.Srgb);
    EXPECT_EQ(Parse({"--convert=#fff"}).ConvertText, QStringLiteral("#fff"));
    EXPECT_EQ(Parse({"--pick", "--to", "oklch"}).Action, A::Pick);
    EXPECT_TRUE(Parse({"--as-shown", "--pick"}).AsShown);
    EXPECT_TRUE(Parse({"--pick", "--open"}).Open);
    EXPECT_EQ(Parse({"--background"}).Action, A::Window);
    EXPECT_TRUE(Parse({"--background"}).Background);
    EXPECT_EQ(Parse({"--", "-5, 0, 0"}).Colour, QStringLiteral("-5, 0, 0"));
}

TEST(CommandLine, WhatDoesNotFitIsAUsageError)
{
    for (const auto &args : std::vector<std::vector<const char *>>{
             {"--bogus"}, {"-x"}, {"--convert"}, {"--to", "html"}, {"--srgb"}, {"#fff", "#000"},
             {"--convert", "red", "--pick"}, {"--pick", "#fff"}, {"--convert", "red", "--to", ","},
             {"--convert", "a", "--convert", "b"}, {"--as-shown"}, {"--open", "#fff"},
             {"--background", "#fff"}, {"--background", "--pick"}, {"--convert", "red", "--background"}}) {
        const TCommandLine c = Parse(args);
        EXPECT_EQ(c.Action, A::Error) << args.front();
        EXPECT_FALSE(c.Error.isEmpty());
    }
}

TEST(CommandLine, AnyBytesAnyLength)
{
    const QString huge(1 << 20, QLatin1Char('x'));
    EXPECT_EQ(ParseCommandLine({QStringLiteral("pigmora"), huge}).Colour, huge);
    EXPECT_EQ(ParseCommandLine({QStringLiteral("pigmora"), QString::fromLocal8Bit("\xff\xfe--to")}).Action, A::Window);
    EXPECT_TRUE(HelpText({QStringLiteral("html")}).contains(QStringLiteral("--convert TEXT")));
    EXPECT_TRUE(VersionText().startsWith(QStringLiteral("pigmora ")));
}

// What a user typed is shown in messages as it was, but never as terminal control: control
// characters, direction overrides and bytes that are no UTF-8 are written as escapes.
TEST(CommandLine, MessagesShowOutsideTextEscaped)
{
    EXPECT_EQ(ShownText(ArgumentText("\x1b]2;pwned\x07\x1b[2J")), QStringLiteral("\\x1B]2;pwned\\x07\\x1B[2J"));
    EXPECT_EQ(ShownText(ArgumentText("\xff\xfe#12\xc3")), QStringLiteral("\\xFF\\xFE#12\\xC3"));
    // Overlong forms, surrogates and code points beyond U+10FFFF are no UTF-8 either.
    EXPECT_EQ(ShownText(ArgumentText("\xc0\xaf\xed\xa0\x80\xf4\x90\x80\x80")),
              QStringLiteral("\\xC0\\xAF\\xED\\xA0\\x80\\xF4\\x90\\x80\\x80"));
    EXPECT_EQ(ShownText(QStringLiteral("a\u202Eb\u0085c\tz")), QStringLiteral("a\\u202Eb\\x85c\\x09z"));
    // Valid text of every length stays as it is, backslashes included.
    const char *valid = "gr\xc3\xbcn \xe3\x81\x82 \xf0\x9f\x8e\xa8 \\definecolor";
    EXPECT_EQ(ArgumentText(valid), QString::fromUtf8(valid));
    EXPECT_EQ(ShownText(ArgumentText(valid)), QString::fromUtf8(valid));
}

} // namespace
