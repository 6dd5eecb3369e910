// The browsers' conformance cases for CSS colour parsing and computed values (web-platform-tests,
// css/css-color/parsing), read through ReadExactColour. The cases are data: cases.tsv, written by
// scripts/wpt-table. A case listed in known-failures.txt may fail without failing the suite; any
// other failure fails it. Set PIGMORA_WPT_KNOWN_OUT to a path to have the Totals case write the
// current failures in that file's format, and PIGMORA_WPT_REPORT to have it write a summary of the
// failures by category.

#include "WptCases.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <cctype>
#include <iostream>
#include <set>

namespace {

const QString Dir = QStringLiteral(PIGMORA_WPT_DIR);

const std::vector<TWptCase> &Cases()
{
    static const std::vector<TWptCase> cases = [] {
        QString error;
        std::vector<TWptCase> read = ReadWptTable(Dir + QStringLiteral("/cases.tsv"), &error);
        if (!error.isEmpty())
            std::cerr << error.toStdString() << '\n';
        return read;
    }();
    return cases;
}

const QHash<QString, QString> &Known()
{
    static const QHash<QString, QString> known = ReadKnownFailures(Dir + QStringLiteral("/known-failures.txt"));
    return known;
}

// The inputs that fail in some applicable case: a known failure is only reported as passing
// once it passes in every file that tests it.
const QSet<QString> &FailingInputs()
{
    static const QSet<QString> failing = [] {
        QSet<QString> inputs;
        for (const TWptCase &c : Cases()) {
            if (c.Excluded.isEmpty() && !JudgeWptCase(c).Passed)
                inputs.insert(c.Input);
        }
        return inputs;
    }();
    return failing;
}

std::vector<std::string> Files()
{
    std::vector<std::string> files;
    std::set<QString> seen;
    for (const TWptCase &c : Cases()) {
        if (seen.insert(c.File()).second)
            files.push_back(c.File().toStdString());
    }
    return files;
}

struct TTally {
    int Pass = 0, Fail = 0, KnownFail = 0, Excluded = 0, NowPassing = 0;
};

class WptColour : public testing::TestWithParam<std::string> {};

TEST_P(WptColour, ReadsAsTheBrowsersDo)
{
    const QString file = QString::fromStdString(GetParam());
    TTally t;
    for (const TWptCase &c : Cases()) {
        if (c.File() != file)
            continue;
        if (!c.Excluded.isEmpty()) {
            ++t.Excluded;
            continue;
        }
        const TWptVerdict v = JudgeWptCase(c);
        const bool known = Known().contains(c.Input);
        if (v.Passed) {
            ++t.Pass;
            t.NowPassing += known && !FailingInputs().contains(c.Input);
        } else if (known) {
            ++t.KnownFail;
        } else {
            ++t.Fail;
            ADD_FAILURE() << c.Kind.toStdString() << " \"" << c.Input.toStdString() << "\" expected "
                          << c.Expected.toStdString() << " (" << c.Check.toStdString() << "), got "
                          << v.Got.toStdString() << ": " << v.Category.toStdString() << "; "
                          << v.Detail.toStdString();
        }
    }
    std::cout << "[ wpt ] " << GetParam() << ": " << t.Pass << " pass, " << t.Fail + t.KnownFail << " fail ("
              << t.KnownFail << " known), " << t.Excluded << " excluded";
    if (t.NowPassing)
        std::cout << ", " << t.NowPassing << " listed as known failures now pass";
    std::cout << '\n';
}

std::string CaseName(const testing::TestParamInfo<std::string> &info)
{
    std::string name;
    for (char ch : info.param) {
        if (std::isalnum(static_cast<unsigned char>(ch)))
            name += ch;
        else if (ch == '.')
            break;
        else
            name += '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Files, WptColour, testing::ValuesIn(Files()), CaseName);

TEST(WptColourTable, EveryRowHasAKindAndARevision)
{
    ASSERT_GT(Cases().size(), 5000u);
    for (const TWptCase &c : Cases()) {
        EXPECT_TRUE(c.Kind == QLatin1String("valid") || c.Kind == QLatin1String("invalid")
                    || c.Kind == QLatin1String("computed")) << c.Input.toStdString();
        EXPECT_EQ(c.Revision.size(), 40) << c.Input.toStdString();
    }
}

void WriteReport(const QString &path, const QMap<QString, std::vector<std::pair<const TWptCase *, TWptVerdict>>> &byCategory)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    std::vector<std::pair<qsizetype, QString>> order;
    for (auto it = byCategory.begin(); it != byCategory.end(); ++it)
        order.emplace_back(-qsizetype(it.value().size()), it.key());
    std::sort(order.begin(), order.end());
    for (const auto &[negCount, category] : order) {
        const auto &list = byCategory[category];
        out.write(QStringLiteral("%1: %2\n").arg(category).arg(-negCount).toUtf8());
        for (size_t i = 0; i < list.size() && i < 3; ++i) {
            const TWptCase &c = *list[i].first;
            const TWptVerdict &v = list[i].second;
            out.write(QStringLiteral("  %1\n    expected %2 (%3)\n    got      %4\n    %5\n")
                          .arg(EscapeWptField(c.Input), EscapeWptField(c.Expected), c.Check, v.Got, v.Detail)
                          .toUtf8());
        }
    }
}

TEST(WptColourTable, Totals)
{
    TTally t;
    QMap<QString, std::vector<std::pair<const TWptCase *, TWptVerdict>>> byCategory;
    QMap<QString, QString> failing;
    for (const TWptCase &c : Cases()) {
        if (!c.Excluded.isEmpty()) {
            ++t.Excluded;
            continue;
        }
        const TWptVerdict v = JudgeWptCase(c);
        if (v.Passed) {
            ++t.Pass;
            continue;
        }
        ++(Known().contains(c.Input) ? t.KnownFail : t.Fail);
        byCategory[v.Category].emplace_back(&c, v);
        failing.insert(c.Input, v.Category);
    }
    std::cout << "[ wpt ] " << Cases().size() << " cases: " << t.Pass + t.Fail + t.KnownFail << " applicable, "
              << t.Pass << " pass, " << t.Fail + t.KnownFail << " fail (" << t.KnownFail << " known), "
              << t.Excluded << " excluded\n";
    for (auto it = byCategory.begin(); it != byCategory.end(); ++it)
        std::cout << "[ wpt ]   " << it.key().toStdString() << ": " << it.value().size() << '\n';

    if (const QString path = qEnvironmentVariable("PIGMORA_WPT_KNOWN_OUT"); !path.isEmpty()) {
        QFile out(path);
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            out.write("# Conformance cases the exact colour's reader does not yet read as the browsers do:\n"
                      "# the input (escaped as in cases.tsv), a tab, and what goes wrong. Written by the\n"
                      "# WptColourTable.Totals case with PIGMORA_WPT_KNOWN_OUT set; remove lines as cases pass.\n");
            for (auto it = failing.begin(); it != failing.end(); ++it)
                out.write((EscapeWptField(it.key()) + QLatin1Char('\t') + it.value() + QLatin1Char('\n')).toUtf8());
        }
    }
    if (const QString path = qEnvironmentVariable("PIGMORA_WPT_REPORT"); !path.isEmpty())
        WriteReport(path, byCategory);
}

} // namespace
