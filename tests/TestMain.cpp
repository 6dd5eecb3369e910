#include "framework/Fonts.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <clocale>
#include <cstdio>
#include <cstring>

// Read by the leak checker of a sanitizer build at start, before any variable of the test's own
// environment could be set: the leaks of system libraries that the program's runs ignore too.
extern "C" const char *__lsan_default_options()
{
    return "suppressions=" PIGMORA_LSAN_SUPPRESSIONS;
}

int main(int argc, char **argv)
{
    // --locale=de_DE.UTF-8 runs the cases in that locale, as on a desktop whose numbers use a
    // decimal comma: LANG and LC_ALL for Qt, and the C locale set once more after Qt has made its
    // own setlocale call. PIGMORA_TEST_LOCALE tells the cases which run this is.
    QByteArray locale;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--locale=", 9) == 0) {
            locale = argv[i] + 9;
            std::memmove(argv + i, argv + i + 1, sizeof(char *) * static_cast<size_t>(argc - i));
            --argc;
            break;
        }
    }
    if (!locale.isEmpty()) {
        qputenv("LANG", locale);
        qputenv("LC_ALL", locale);
        qputenv("PIGMORA_TEST_LOCALE", locale);
    }

    // Widget tests never need a real display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pigmora"));
    // Tests draw with the program's faces, and a widget without a font of its own draws with a
    // named face rather than whatever the desktop's default happens to be.
    InstallFontSubstitutions();
    QApplication::setFont(MakeFont(QStringLiteral("Liberation Sans"), 12));

    if (!locale.isEmpty() && !std::setlocale(LC_ALL, locale.constData())) {
        std::fprintf(stderr, "locale %s is not available (scripts/setup generates it)\n", locale.constData());
        return 1;
    }

    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
