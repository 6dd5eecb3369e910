#pragma once

#include "colour/ExactColour.h"
#include "framework/Colors.h"

#include <QImage>
#include <QPointer>
#include <QStringList>
#include <QWidget>

class TPickOverlay;

// Largest screenshot read: eight 4K monitors' worth of pixels.
constexpr qint64 MaxScreenshotPixels = 8LL * 3840 * 2160;

// The folders whose files are the program's to delete once read: the system's temporary folder
// and the session's runtime folder.
QStringList TemporaryFolders();

// The image of the screenshot file the portal names by a file:// uri, read once. A file in one of
// the temporary folders is deleted after reading, whether it held an image or not. Null when
// the uri names no local file, the file is missing, larger than MaxScreenshotPixels, or not an
// image.
QImage TakeScreenshotFile(const QString &uri, const QStringList &temporaryFolders);

// The text of the one box shown when the screenshot cannot be read.
QString ScreenshotUnreadableText();

// Picking from a screenshot: a full-screen window shows it, and the magnifier of the screen pick
// works over it with the same mouse and keys, in the screenshot's own pixels.
class TScreenshotPick : public QWidget {
    Q_OBJECT
public:
    explicit TScreenshotPick(QImage shot, QWidget *parent = nullptr);
    ~TScreenshotPick() override;

    // The side of the square the magnifier takes (see TPickOverlay), from the next Begin on.
    void SetAverageSize(int side) { FSize = side; }
    // Shows the window full screen and opens the magnifier.
    void Begin();
    TPickOverlay *Overlay() const { return FOverlay; }
    // The screenshot pixel under a point of this window.
    QPoint ShotPixel(QPointF local) const;

signals:
    void Taken(TColor color, const TExactColour &exact);
    void Cancelled();
    void AverageSizeChanged(int side);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage FShot;
    QPointer<TPickOverlay> FOverlay;
    int FSize = 1;
};
