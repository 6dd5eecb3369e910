#include "desktop/Desktop.h"
#include "desktop/SessionEnd.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QSet>
#include <QTranslator>

#include <csignal>

namespace {

struct PlatformRow {
    const char *name;
    TSessionEnv env;
    const char *platform;
};

class PlatformChoice : public testing::TestWithParam<PlatformRow> {};

TEST_P(PlatformChoice, PrefersX11WhereBothAreThere)
{
    EXPECT_EQ(PlatformFor(GetParam().env), QByteArray(GetParam().platform));
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, PlatformChoice,
    testing::Values(PlatformRow{"X11", {"", "", ":0", "x11"}, ""},
                    PlatformRow{"WaylandWithXWayland", {"", "wayland-0", ":0", "wayland"}, "xcb"},
                    PlatformRow{"WaylandDisplayOnlyWithXWayland", {"", "wayland-0", ":1", ""}, "xcb"},
                    PlatformRow{"WaylandSessionTypeWithX11", {"", "", ":0", "wayland"}, "xcb"},
                    PlatformRow{"WaylandAlone", {"", "wayland-0", "", "wayland"}, "wayland"},
                    PlatformRow{"UserAskedForWayland", {"wayland", "wayland-0", ":0", "wayland"}, ""},
                    PlatformRow{"UserAskedForOffscreen", {"offscreen", "", "", ""}, ""},
                    PlatformRow{"NoDisplayAtAll", {"", "", "", "tty"}, ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(QtTranslations, QtsOwnButtonsSpeakTheDesktopsLanguage)
{
    QTranslator translator;
    ASSERT_TRUE(InstallQtTranslations(*qApp, translator, QLocale(QLocale::Japanese, QLocale::Japan)))
        << "no Qt translations in " << QLibraryInfo::path(QLibraryInfo::TranslationsPath).toStdString()
        << " (scripts/setup installs qt6-translations-l10n)";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
    QCoreApplication::removeTranslator(&translator);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    EXPECT_FALSE(InstallQtTranslations(*qApp, translator, QLocale(QLocale::Swahili)));
}

// The image format plugins mapped into this process.
int LoadedImagePlugins()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return -1;
    QSet<QByteArray> plugins;
    for (const QByteArray &line : maps.readAll().split('\n'))
        if (line.contains("/imageformats/"))
            plugins.insert(line.mid(line.lastIndexOf(' ') + 1));
    return int(plugins.size());
}

TEST(ProgramIcon, EveryWindowIconSizeIsBuiltIn)
{
    const int pluginsBefore = LoadedImagePlugins();
    SetProgramIcon(*qApp);
    EXPECT_EQ(LoadedImagePlugins(), pluginsBefore) << "the icon loads no image plugin";
    const QIcon icon = QApplication::windowIcon();
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 24, 32, 48, 64, 128}) {
        const QPixmap pixmap = icon.pixmap(QSize(size, size));
        EXPECT_EQ(pixmap.size(), QSize(size, size)) << size;
        // The colour squares of the icon, not an empty image.
        EXPECT_NE(pixmap.toImage().pixelColor(size / 4, size / 4).alpha(), 0) << size;
    }
    QApplication::setWindowIcon(QIcon());
}

TEST(SessionEnd, TermAndHangupCloseOnceFromTheEventLoop)
{
    for (int signal : {SIGTERM, SIGHUP}) {
        int closes = 0;
        TSessionEnd end([&closes] { ++closes; });
        ASSERT_EQ(std::raise(signal), 0);
        EXPECT_EQ(closes, 0) << "the handler itself runs nothing";
        QCoreApplication::processEvents();
        EXPECT_EQ(closes, 1);
        // A second signal while (or after) closing adds nothing.
        std::raise(signal);
        std::raise(SIGTERM);
        QCoreApplication::processEvents();
        EXPECT_EQ(closes, 1);
        end.Request();
        EXPECT_EQ(closes, 1);
    }
}

} // namespace
