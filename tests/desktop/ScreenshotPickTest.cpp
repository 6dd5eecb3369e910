// Picking from the portal's screenshot where the portal picks no colour itself.
#include "colour/ColourHistory.h"
#include "desktop/PickAverage.h"
#include "desktop/PickOverlay.h"
#include "desktop/ScreenPick.h"
#include "desktop/ScreenshotPick.h"

#include "PrivateBus.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QMouseEvent>
#include <QUrl>

#include <optional>

namespace {

// A picture whose pixel (x, y) has red 3x, green 4y, blue 9.
QImage Shot()
{
    QImage image(80, 60, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(3 * x, 4 * y, 9));
    return image;
}

TColor ShotColour(QPoint p) { return (3 * p.x()) | ((4 * p.y()) << 8) | (9 << 16); }

QString Uri(const QString &path) { return QUrl::fromLocalFile(path).toString(); }

void Write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// ---- The file the portal hands over -----------------------------------------------------------

TEST(ScreenshotFile, ReadOnceAndDeletedOnlyFromATemporaryFolder)
{
    QTemporaryDir temporary, kept;
    const QString inTemp = temporary.filePath(QStringLiteral("shot.png"));
    const QString elsewhere = kept.filePath(QStringLiteral("Screenshot.png"));
    ASSERT_TRUE(Shot().save(inTemp) && Shot().save(elsewhere));

    const QImage taken = TakeScreenshotFile(Uri(inTemp), {temporary.path()});
    EXPECT_EQ(taken.pixel(10, 5), qRgb(30, 20, 9));
    EXPECT_FALSE(QFile::exists(inTemp));

    EXPECT_FALSE(TakeScreenshotFile(Uri(elsewhere), {temporary.path()}).isNull());
    EXPECT_TRUE(QFile::exists(elsewhere)) << "a screenshot the user keeps is not ours to delete";
}

TEST(ScreenshotFile, MissingHugeOrNotAnImageGivesNothing)
{
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("text.png"));
    Write(text, "not an image at all");
    EXPECT_TRUE(TakeScreenshotFile(Uri(text), {dir.path()}).isNull());
    EXPECT_FALSE(QFile::exists(text)) << "read once, deleted all the same";

    // A header promising 20000 x 20000 pixels: refused before anything is decoded.
    const QString huge = dir.filePath(QStringLiteral("huge.ppm"));
    Write(huge, QByteArray("P6\n20000 20000\n255\n") + QByteArray(300, '\x7f'));
    EXPECT_TRUE(TakeScreenshotFile(Uri(huge), {}).isNull());

    EXPECT_TRUE(TakeScreenshotFile(Uri(dir.filePath(QStringLiteral("missing.png"))), {dir.path()}).isNull());
    EXPECT_TRUE(TakeScreenshotFile(QStringLiteral("https://example.invalid/shot.png"), {}).isNull());
    EXPECT_TRUE(TakeScreenshotFile(QString(), {}).isNull());
}

// ---- The fallback through the fake portal -----------------------------------------------------

struct FallbackRun {
    PrivateBus bus;
    QTemporaryDir folder;
    TRecordingMessageSink messages;
    std::optional<TScreenPicker> picker;
    std::optional<TColor> taken;
    int size = 1;
    std::vector<int> sizes;

    bool Start(const QStringList &portalArgs)
    {
        if (!bus.Connection.isConnected() || !bus.StartPortal(portalArgs))
            return false;
        TScreenPickEnv env;
        env.Messages = &messages;
        env.Path = TPickPath::Portal;
        env.Bus = [this] { return bus.Connection; };
        env.TemporaryFolders = [this] { return QStringList{folder.path()}; };
        env.AverageSize = [this] { return size; };
        env.AverageSizeChanged = [this](int side) { sizes.push_back(side); };
        picker.emplace(env);
        picker->Pick(nullptr, [this](TColor c) { taken = c; });
        return true;
    }
    QString ShotFile() const { return folder.filePath(QStringLiteral("shot.png")); }
    bool WaitForScreenshot() { return QTest::qWaitFor([this] { return picker->Screenshot() || !picker->Busy(); }, 10000); }

    // A click on the screenshot window at a point of it: the pixel of the screenshot there.
    QPoint ClickAt(QPointF local)
    {
        TScreenshotPick *pick = picker->Screenshot();
        TPickOverlay *overlay = pick->Overlay();
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), pick->mapToGlobal(local), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        const QPoint pixel = pick->ShotPixel(local);
        QCoreApplication::sendEvent(overlay, &press);
        return pixel;
    }
};

TEST(ScreenshotFallback, PortalWithoutPickColorHandsOverAScreenshotToPickFrom)
{
    FallbackRun run;
    ASSERT_TRUE(Shot().save(run.ShotFile()));
    ASSERT_TRUE(run.Start({QStringLiteral("nopick"), Uri(run.ShotFile())})) << "no private bus or fake portal";
    ASSERT_TRUE(run.WaitForScreenshot());
    ASSERT_NE(run.picker->Screenshot(), nullptr) << "no screenshot window";
    EXPECT_TRUE(run.picker->Screenshot()->isFullScreen());
    EXPECT_FALSE(QFile::exists(run.ShotFile())) << "the file is read once and deleted";
    ASSERT_NE(run.picker->Screenshot()->Overlay(), nullptr);

    // Arrow keys move by one screenshot pixel, as on the screen.
    TPickOverlay *overlay = run.picker->Screenshot()->Overlay();
    overlay->UpdateAt({0, QPoint(20, 30)});
    QTest::keyClick(overlay, Qt::Key_Right);
    EXPECT_EQ(overlay->Centre().Pos, QPoint(21, 30));
    // A screen reader finds the window by its name and hears the colour under the pointer.
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(run.picker->Screenshot());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Pick from screenshot"));
    QAccessibleInterface *magnifier = QAccessible::queryAccessibleInterface(overlay);
    ASSERT_NE(magnifier, nullptr);
    EXPECT_EQ(magnifier->text(QAccessible::Name), QStringLiteral("Pick from screen"));
    EXPECT_EQ(magnifier->role(), QAccessible::Grouping) << "a part of the screenshot window";
    ASSERT_NE(magnifier->actionInterface(), nullptr);
    EXPECT_EQ(magnifier->actionInterface()->actionNames(),
              QStringList({QAccessibleActionInterface::pressAction(), QStringLiteral("Cancel"),
                           QAccessibleActionInterface::increaseAction(), QAccessibleActionInterface::decreaseAction()}));
    EXPECT_EQ(magnifier->text(QAccessible::Description), QStringLiteral("#3F7809")) << "3 * 21, 4 * 30, 9";

    const QPoint pixel = run.ClickAt(QPointF(run.picker->Screenshot()->width() * 0.4, run.picker->Screenshot()->height() * 0.7));
    EXPECT_EQ(run.taken, ShotColour(pixel));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !run.picker->Busy(); }, 2000));
    EXPECT_TRUE(run.messages.Messages.empty());
}

TEST(ScreenshotFallback, TheSquareKeepsItsSizeAndCountsOnlyTheScreenshotsPixels)
{
    FallbackRun run;
    run.size = 3;
    ASSERT_TRUE(Shot().save(run.ShotFile()));
    ASSERT_TRUE(run.Start({QStringLiteral("nopick"), Uri(run.ShotFile())})) << "no private bus or fake portal";
    ASSERT_TRUE(run.WaitForScreenshot());
    ASSERT_NE(run.picker->Screenshot(), nullptr);
    TPickOverlay *overlay = run.picker->Screenshot()->Overlay();
    EXPECT_EQ(overlay->AverageSize(), 3) << "the size the picker was given";
    QTest::keyClick(overlay, Qt::Key_Plus);
    EXPECT_EQ(run.sizes, std::vector<int>{5});
    // At the screenshot's corner 3×3 of the 5×5 square lie on it.
    overlay->UpdateAt({0, QPoint(0, 0)});
    std::vector<QRgb> corner;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            corner.push_back(qRgb(3 * x, 4 * y, 9));
    const TRgb8 mean = LinearMean(corner);
    EXPECT_EQ(overlay->accessibleDescription(), HtmlText(mean) + QStringLiteral(", average of 5 × 5 pixels"));
    QTest::keyClick(overlay, Qt::Key_Return);
    ASSERT_TRUE(run.taken);
    EXPECT_EQ(*run.taken, static_cast<TColor>(mean.R | (mean.G << 8) | (mean.B << 16)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !run.picker->Busy(); }, 2000));
}

TEST(ScreenshotFallback, PickColorEndedAlsoFallsBackToAScreenshot)
{
    FallbackRun run;
    ASSERT_TRUE(Shot().save(run.ShotFile()));
    ASSERT_TRUE(run.Start({QStringLiteral("ended"), QStringLiteral("shot=") + Uri(run.ShotFile())}));
    ASSERT_TRUE(run.WaitForScreenshot());
    ASSERT_NE(run.picker->Screenshot(), nullptr);
    QTest::keyClick(run.picker->Screenshot()->Overlay(), Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !run.picker->Busy(); }, 2000));
    EXPECT_FALSE(run.taken) << "Escape over the screenshot takes nothing";
    EXPECT_TRUE(run.messages.Messages.empty());
}

TEST(ScreenshotFallback, UnreadableScreenshotShowsOneBoxAndChangesNothing)
{
    for (const char *content : {"", "not an image"}) {
        FallbackRun run;
        if (*content)
            Write(run.ShotFile(), content);
        ASSERT_TRUE(run.Start({QStringLiteral("nopick"), Uri(run.ShotFile())}));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !run.picker->Busy(); }, 10000));
        EXPECT_FALSE(run.taken);
        ASSERT_EQ(run.messages.Messages.size(), 1u) << (*content ? "not an image" : "missing");
        EXPECT_EQ(run.messages.Messages[0].text, ScreenshotUnreadableText());
    }
}

} // namespace
