#include "desktop/ScreenPick.h"

#include "PrivateBus.h"

#include <gtest/gtest.h>

#include <QDBusConnectionInterface>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

namespace {

// ---- Which way a pick goes --------------------------------------------------------------------

struct PathCase {
    const char *platform, *sessionType, *waylandDisplay;
    TPickPath expected;
};

class ChoosePickPathTest : public testing::TestWithParam<PathCase> {};

TEST_P(ChoosePickPathTest, FollowsPlatformAndSession)
{
    const PathCase &c = GetParam();
    EXPECT_EQ(ChoosePickPath(QString::fromLatin1(c.platform), QString::fromLatin1(c.sessionType),
                             QString::fromLatin1(c.waylandDisplay)),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, ChoosePickPathTest,
    testing::Values(PathCase{"xcb", "x11", "", TPickPath::ScreenGrab},        // plain X11
                    PathCase{"xcb", "", "", TPickPath::ScreenGrab},           // X server without a session
                    PathCase{"wayland", "wayland", "wayland-0", TPickPath::Portal},
                    PathCase{"wayland-egl", "", "wayland-0", TPickPath::Portal},
                    PathCase{"xcb", "wayland", "wayland-0", TPickPath::Portal}, // XWayland sees no native windows
                    PathCase{"xcb", "Wayland", "", TPickPath::Portal},
                    PathCase{"xcb", "tty", "wayland-1", TPickPath::Portal},
                    PathCase{"windows", "", "", TPickPath::ScreenGrab},
                    PathCase{"offscreen", "wayland", "wayland-0", TPickPath::ScreenGrab}));

TEST(PortalRequestPath, SenderWithoutColonAndDotsAsUnderscores)
{
    EXPECT_EQ(PortalRequestPath(QStringLiteral(":1.42"), QStringLiteral("pigmora1")),
              QStringLiteral("/org/freedesktop/portal/desktop/request/1_42/pigmora1"));
}

// ---- The magnifier ----------------------------------------------------------------------------

// A screen whose pixel at (x, y) has red x, green y and blue 7.
QImage GradientGrab(int, const QRect &area)
{
    QImage image(area.size(), QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            image.setPixel(x, y, qRgb((area.x() + x) & 255, (area.y() + y) & 255, 7));
    return image;
}

struct OverlayRun {
    TPickOverlay *overlay = new TPickOverlay(TScreenAccess{GradientGrab, {}, {}, {}});
    QPointer<TPickOverlay> alive{overlay};
    std::optional<TColor> taken;
    int cancelled = 0;
    OverlayRun()
    {
        QObject::connect(overlay, &TPickOverlay::Taken, [this](TColor c) { taken = c; });
        QObject::connect(overlay, &TPickOverlay::Cancelled, [this] { ++cancelled; });
        overlay->Begin();
    }
    ~OverlayRun() { delete alive.data(); }
};

TEST(PickOverlay, ViewEnlargesThePixelsAroundThePointer)
{
    OverlayRun run;
    run.overlay->UpdateAt({0, QPoint(40, 60)});
    const QImage &view = run.overlay->View();
    const int z = TPickOverlay::Zoom, r = TPickOverlay::Radius, b = 1;
    // The centre cell is the pointer's pixel, its left neighbour the pixel one to the left.
    EXPECT_EQ(view.pixel(b + r * z + z / 2, b + r * z + z / 2), qRgb(40, 60, 7));
    EXPECT_EQ(view.pixel(b + (r - 1) * z + z / 2, b + r * z + z / 2), qRgb(39, 60, 7));
    EXPECT_EQ(view.pixel(b + z / 2, b + z / 2), qRgb(40 - r, 60 - r, 7));
    // The centre cell is framed.
    EXPECT_EQ(view.pixel(b + r * z, b + r * z + z / 2), qRgb(0, 0, 0));
    EXPECT_EQ(view.pixel(b + r * z + 1, b + r * z + z / 2), qRgb(255, 255, 255));
}

TEST(PickOverlay, LeftClickTakesThePixelUnderThePointer)
{
    OverlayRun run;
    QTest::mouseClick(run.overlay, Qt::LeftButton, {}, run.overlay->mapFromGlobal(QPoint(30, 20)));
    ASSERT_TRUE(run.taken.has_value());
    EXPECT_EQ(*run.taken, 30 | (20 << 8) | (7 << 16));
    EXPECT_EQ(run.cancelled, 0);
    EXPECT_FALSE(run.overlay->isVisible());
}

TEST(PickOverlay, EscapeAndRightClickCancel)
{
    {
        OverlayRun run;
        QTest::keyClick(run.overlay, Qt::Key_Escape);
        EXPECT_FALSE(run.taken);
        EXPECT_EQ(run.cancelled, 1);
        EXPECT_FALSE(run.overlay->isVisible());
    }
    {
        OverlayRun run;
        QTest::mouseClick(run.overlay, Qt::RightButton, {}, QPoint(5, 5));
        EXPECT_FALSE(run.taken);
        EXPECT_EQ(run.cancelled, 1);
        // A click after the end changes nothing.
        QTest::mouseClick(run.overlay, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_FALSE(run.taken);
    }
}

TEST(PickOverlay, ReturnTakesTheCentrePixel)
{
    OverlayRun run;
    run.overlay->UpdateAt({0, QPoint(12, 34)});
    QTest::keyClick(run.overlay, Qt::Key_Return);
    ASSERT_TRUE(run.taken.has_value());
    EXPECT_EQ(*run.taken, 12 | (34 << 8) | (7 << 16));
}

TEST(PickOverlay, ClosesItselfOnceDone)
{
    OverlayRun run;
    QTest::keyClick(run.overlay, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return run.alive.isNull(); }, 1000));
}

TEST(PickOverlay, PlacedBesideThePointerAwayFromWhatItReads)
{
    const QRect screen(0, 0, 1280, 1024);
    const QSize size(122, 140);
    for (const QPoint p : {QPoint(10, 10), QPoint(1275, 10), QPoint(10, 1020), QPoint(1279, 1023), QPoint(640, 500)}) {
        const QRect placed(TPickOverlay::PlaceFor(p, screen, size), size);
        const QRect read(p.x() - TPickOverlay::Radius, p.y() - TPickOverlay::Radius, 2 * TPickOverlay::Radius + 1,
                         2 * TPickOverlay::Radius + 1);
        EXPECT_TRUE(screen.contains(placed)) << p.x() << "," << p.y();
        EXPECT_FALSE(placed.intersects(read)) << p.x() << "," << p.y();
    }
}

// ---- The portal, on a private bus -------------------------------------------------------------

struct PortalCase {
    const char *name;
    QStringList portal; // fake portal arguments; empty: no portal on the bus
    std::optional<TColor> taken;
    QString (*box)(); // the one box shown; nullptr for none
};

void PrintTo(const PortalCase &c, std::ostream *os) { *os << c.name; }

class PortalPickTest : public testing::TestWithParam<PortalCase> {};

TEST_P(PortalPickTest, AnswerBecomesTheColourOrNothing)
{
    const PortalCase &c = GetParam();
    PrivateBus bus;
    ASSERT_TRUE(bus.Connection.isConnected()) << "no private bus";
    if (!c.portal.isEmpty()) {
        ASSERT_TRUE(bus.StartPortal(c.portal)) << "fake portal did not start";
    }

    TRecordingMessageSink messages;
    TScreenPickEnv env;
    env.Messages = &messages;
    env.Path = TPickPath::Portal;
    env.Bus = [&] { return bus.Connection; };
    TScreenPicker picker(env);
    std::optional<TColor> taken;
    int calls = 0;
    picker.Pick(nullptr, [&](TColor color) {
        taken = color;
        ++calls;
    });
    // The request is under way without having blocked.
    EXPECT_TRUE(picker.Busy());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !picker.Busy(); }, 10000)) << "no answer";

    EXPECT_EQ(taken, c.taken);
    EXPECT_LE(calls, 1);
    if (c.box) {
        ASSERT_EQ(messages.Messages.size(), 1u);
        EXPECT_EQ(messages.Messages[0].kind, TMessageKind::Message);
        EXPECT_EQ(messages.Messages[0].text, c.box());
    } else {
        EXPECT_TRUE(messages.Messages.empty());
    }
}

QStringList Args(std::initializer_list<const char *> list)
{
    QStringList result;
    for (const char *s : list)
        result << QString::fromLatin1(s);
    return result;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, PortalPickTest,
    testing::Values(
        // #123456 as the portal gives it, in 0..1.
        PortalCase{"colour", Args({"color", "0.0705882", "0.2039216", "0.3372549"}), 0x563412, nullptr},
        PortalCase{"out_of_range", Args({"color", "1.5", "-0.2", "0.5"}), 0x8000FF, nullptr},
        PortalCase{"own_request_path", Args({"ownpath"}), 0xFF4080, nullptr},
        PortalCase{"cancelled", Args({"cancel"}), std::nullopt, nullptr},
        // Taken and then failed by the desktop (response 2), answered without a colour, refused.
        PortalCase{"ended", Args({"ended"}), std::nullopt, PickFailedText},
        PortalCase{"no_colour_in_answer", Args({"nocolor"}), std::nullopt, PickFailedText},
        PortalCase{"error_reply", Args({"error"}), std::nullopt, PickFailedText},
        PortalCase{"no_screenshot_interface", Args({"noscreenshot"}), std::nullopt, NoColorPickingText},
        PortalCase{"no_portal", {}, std::nullopt, NoColorPickingText}),
    [](const testing::TestParamInfo<PortalCase> &info) { return std::string(info.param.name); });

TEST(PortalPick, NoBusShowsTheBoxOnce)
{
    TRecordingMessageSink messages;
    TScreenPickEnv env;
    env.Messages = &messages;
    env.Path = TPickPath::Portal;
    env.Bus = [] { return QDBusConnection(QStringLiteral("pigmora-no-such-bus")); };
    TScreenPicker picker(env);
    bool taken = false;
    picker.Pick(nullptr, [&](TColor) { taken = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !picker.Busy(); }, 2000));
    EXPECT_FALSE(taken);
    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_EQ(messages.Messages[0].text, NoColorPickingText());
}

} // namespace
