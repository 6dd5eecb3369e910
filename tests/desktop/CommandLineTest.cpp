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

TEST(CommandLine, AverageIsAListedSizeWithPick)
{
    EXPECT_EQ(Parse({"--pick"}).Average, 1);
    EXPECT_EQ(Parse({"--pick", "--average", "9"}).Average, 9);
    EXPECT_EQ(Parse({"--average=31", "--pick", "--as-shown"}).Average, 31);
    for (const auto &args : std::vector<std::vector<const char *>>{{"--pick", "--average", "7"},
                                                                   {"--pick", "--average", "0"},
                                                                   {"--pick", "--average", "-3"},
                                                                   {"--pick", "--average", "3x"},
                                                                   {"--pick", "--average", "99999999999"},
                                                                   {"--pick", "--average"},
                                                                   {"--pick", "--average", "3", "--average", "5"},
                                                                   {"--average", "3"},
                                                                   {"--convert", "red", "--average", "3"}}) {
        const TCommandLine c = Parse(args);
        EXPECT_EQ(c.Action, A::Error) << args.back();
    }
}

TEST(CommandLine, PalettesFromColours)
{
    const TCommandLine scale = Parse({"--scale", "#336699", "--to", "html,oklch", "--gamut", "p3"});
    EXPECT_EQ(scale.Action, A::Make);
    EXPECT_EQ(scale.Make, TCommandLine::TMake::Scale);
    EXPECT_EQ(scale.MakeColours, QStringList{QStringLiteral("#336699")});
    EXPECT_EQ(scale.Gamut, QStringLiteral("p3"));
    const TCommandLine harmony = Parse({"#fff", "--harmony", "square"});
    EXPECT_EQ(harmony.Make, TCommandLine::TMake::Harmony);
    EXPECT_EQ(harmony.Harmony, QStringLiteral("square"));
    EXPECT_EQ(harmony.MakeColours, QStringList{QStringLiteral("#fff")});
    const TCommandLine gradient = Parse({"--gradient", "red", "blue", "--steps", "256", "--in", "oklch longer hue", "--srgb"});
    EXPECT_EQ(gradient.Make, TCommandLine::TMake::Gradient);
    EXPECT_EQ(gradient.MakeColours, (QStringList{QStringLiteral("red"), QStringLiteral("blue")}));
    EXPECT_EQ(gradient.Steps, 256);
    EXPECT_EQ(gradient.Space, QStringLiteral("oklch longer hue"));
    EXPECT_TRUE(gradient.Srgb);
    for (const auto &args : std::vector<std::vector<const char *>>{
             {"--scale", "red", "--harmony", "square", "blue"}, {"--scale", "red", "blue"}, {"--harmony", "square"},
             {"--gradient", "red", "blue"}, {"--gradient", "red", "--steps", "3"}, {"--gradient", "a", "b", "--steps", "x"},
             {"--gradient", "a", "b", "--steps", "1"}, {"--gradient", "a", "b", "--steps", "99999999999"},
             {"--scale", "red", "--steps", "4"}, {"--steps", "4"}, {"--in", "oklab"}, {"--gamut", "srgb"},
             {"--gradient", "a", "b", "--steps", "3", "--gamut", "p3"}, {"--scale", "a", "--scale", "b"},
             {"--scale", "a", "--pick"}, {"--scale", "a", "--open"}, {"--scale", "a", "--to", ","}}) {
        const TCommandLine c = Parse(args);
        EXPECT_EQ(c.Action, A::Error) << args.front() << ' ' << args.size();
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

namespace {

TEST(CommandLine, JudgingColoursTakesItsColoursInAnyOrder)
{
    const TCommandLine s = Parse({"--simulate", "deuteranomaly:0.6", "#ff0000", "--to", "html"});
    EXPECT_EQ(s.Action, A::Simulate);
    EXPECT_EQ(s.Vision, QStringLiteral("deuteranomaly:0.6"));
    EXPECT_EQ(s.Colours, QStringList{QStringLiteral("#ff0000")});
    EXPECT_EQ(s.To, QStringList{QStringLiteral("html")});
    const TCommandLine c = Parse({"#777", "--fix", "aa", "--contrast", "white"});
    EXPECT_EQ(c.Action, A::Contrast);
    EXPECT_EQ(c.Colours, (QStringList{QStringLiteral("#777"), QStringLiteral("white")}));
    EXPECT_EQ(c.FixTarget, QStringLiteral("aa"));
    EXPECT_EQ(Parse({"--delta", "red", "--", "-5, 0, 0"}).Colours, (QStringList{QStringLiteral("red"), QStringLiteral("-5, 0, 0")}));
    for (const auto &args : std::vector<std::vector<const char *>>{
             {"--simulate", "protanopia"}, {"--simulate", "protanopia", "red", "blue"}, {"--contrast", "red"},
             {"--delta", "a", "b", "c"}, {"--fix", "aa", "red", "blue"}, {"--contrast", "--delta", "red", "blue"},
             {"--contrast", "red", "blue", "--to", "html"}, {"--delta", "red", "blue", "--srgb"},
             {"--simulate", "protanopia", "--convert", "red"}, {"--contrast", "red", "blue", "--fix", "aa", "--fix", "aaa"},
             {"--simulate"}, {"--delta", "red", "blue", "--pick"}}) {
        const TCommandLine e = Parse(args);
        EXPECT_EQ(e.Action, A::Error) << args.front() << " " << args.size();
        EXPECT_FALSE(e.Error.isEmpty());
    }
}

TEST(CommandLine, PaletteConvertTakesTwoFilesAndNothingElse)
{
    TCommandLine c = Parse({"--palette-convert", "in.gpl", "out.ase"});
    EXPECT_EQ(c.Action, A::PaletteConvert);
    EXPECT_EQ(c.PaletteIn, QStringLiteral("in.gpl"));
    EXPECT_EQ(c.PaletteOut, QStringLiteral("out.ase"));
    c = Parse({"out.ase", "--palette-convert=in.gpl"});
    EXPECT_EQ(c.PaletteIn, QStringLiteral("in.gpl"));
    EXPECT_EQ(c.PaletteOut, QStringLiteral("out.ase"));
    for (const std::vector<const char *> &args :
         {std::vector<const char *>{"--palette-convert", "in.gpl"}, {"--palette-convert", "in.gpl", "a", "b"},
          {"--palette-convert", "in.gpl", "out.ase", "--convert", "red"}, {"--palette-convert", "in.gpl", "out.ase", "--pick"},
          {"--palette-convert", "in.gpl", "out.ase", "--to", "html"}, {"--palette-convert", "a", "--palette-convert", "b", "c"}}) {
        c = Parse(args);
        EXPECT_EQ(c.Action, A::Error) << args.size();
        EXPECT_EQ(c.Error, QStringLiteral("--palette-convert takes two files, IN and OUT, and no other option"));
    }
}

} // namespace
