#pragma once

#include <QString>
#include <QStringList>

#include <random>

// Texts that every field must survive: hand-picked hostile ones, then random ones built from
// the characters the readings care about, mixed with controls, full-width digits and lone
// surrogates.
inline QStringList AdversarialTexts(int generated)
{
    QStringList texts = {
        QString(),
        QString(10000, QLatin1Char('9')),
        QStringLiteral("<") + QString(10000, QLatin1Char('1')) + QStringLiteral(",0,0>"),
        QStringLiteral("<") + QString(5000, QLatin1Char(',')) + QStringLiteral(">"),
        QString(10000, QLatin1Char('.')),
        QString(2000, QLatin1Char('<')) + QString(2000, QLatin1Char('>')),
        QStringLiteral("\\u") + QString(9994, QLatin1Char('u')),
        QString(1666, QLatin1Char('\\')) + QString(1666 * 5, QLatin1Char('u')),
        QStringLiteral("1e308"), QStringLiteral("<1e308,1e308,1e308>"),
        QStringLiteral("99999999999999999999"), QStringLiteral("<99999999999999999999,0,0>"),
        QStringLiteral("-0"), QStringLiteral("<-0,-0,-0>"), QStringLiteral("<0,-0,0>"),
        QStringLiteral(",,,,,,,,,,,,"), QStringLiteral("<,,,,,,,,>"), QStringLiteral("<1,2,3,4,5,6,7>"),
        QStringLiteral("<<<1,0,0"), QStringLiteral("1,0,0>>>"), QStringLiteral("><"), QStringLiteral("<>"),
        QStringLiteral("<.,.,.>"), QStringLiteral("<., ., .>"), QStringLiteral("<. . .>"),
        QString::fromUtf16(u"<１,２,３>"), QString::fromUtf16(u"１２３"), QString::fromUtf16(u"５０．５"),
        QStringLiteral("$02FFFFFF"), QStringLiteral("$FFFFFFFF"), QStringLiteral("$80000005"),
        QStringLiteral("#FFFFFF"), QStringLiteral("#"), QStringLiteral("$"),
        QStringLiteral("2147483647"), QStringLiteral("2147483648"), QStringLiteral("4294967296"),
        QStringLiteral("\\uD83D"), QStringLiteral("\\uDE00\\uD83D"), QStringLiteral("\\uD83D\\uDE00"),
        QStringLiteral("\\u0000\\u0000"), QStringLiteral("\\u\\u\\u"), QStringLiteral("uuuuuu"),
        QStringLiteral("100.0000000000000000001"), QStringLiteral("0.0000000000000000000000001"),
        QStringLiteral("<0.00000000000000000000000000000000000000000000000001,1,1>"),
    };
    texts << QString(QChar(0)) << QString(3, QChar(0)) + QStringLiteral("<1,0,0>")
          << QStringLiteral("<1,\t0,\n0>") << QString(QChar(0xD800)) << QString(QChar(0xDFFF)) + QStringLiteral("50")
          << QString(QChar(0xFFFF)) << QString(QChar(0xFEFF)) + QStringLiteral("5");

    const QString alphabet = QString::fromUtf16(u"0123456789.,<> -+eE$#ABCDEFabcdefu\\rgbpimt{}"
                                                u"\t\r\n\u0001\u007F\u3000\uFF10\uFF19\u0661\u00B2");
    std::mt19937 gen(7);
    std::uniform_int_distribution<int> length(0, 30);
    std::uniform_int_distribution<qsizetype> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> rare(0, 40);
    const QString numberAlphabet = QStringLiteral("0123456789999.., ,");
    std::uniform_int_distribution<qsizetype> pickNumber(0, numberAlphabet.size() - 1);
    for (int n = 0; n < generated; ++n) {
        QString text;
        const int len = length(gen);
        for (int i = 0; i < len; ++i) {
            if (n % 4 == 0) {
                text += numberAlphabet[pickNumber(gen)];
                continue;
            }
            switch (rare(gen)) {
            case 0: text += QChar(0); break;
            case 1: text += QChar(0xD83D); break;
            case 2: text += QChar(0xDE00); break;
            default: text += alphabet[pick(gen)]; break;
            }
        }
        // Every other text is shaped like a notation, so the readings get past their first tests.
        if (n % 2 == 0)
            text = QStringLiteral("<") + text + QStringLiteral(">");
        texts << text;
    }
    return texts;
}
