#include "desktop/ScreenshotPick.h"

#include "desktop/PickOverlay.h"

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QUrl>

#include <cmath>

QStringList TemporaryFolders()
{
    QStringList folders{QDir::tempPath()};
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        folders << runtime;
    return folders;
}

namespace {

bool InFolder(const QString &file, const QStringList &folders)
{
    const QString path = QFileInfo(file).canonicalFilePath();
    if (path.isEmpty())
        return false;
    for (const QString &folder : folders) {
        const QString dir = QFileInfo(folder).canonicalFilePath();
        if (!dir.isEmpty() && path.startsWith(dir + QLatin1Char('/')))
            return true;
    }
    return false;
}

QImage ReadImage(const QString &path)
{
    QImageReader reader(path);
    const QSize size = reader.size();
    if (!size.isValid() || static_cast<qint64>(size.width()) * size.height() > MaxScreenshotPixels)
        return {};
    QImage image = reader.read();
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

QImage TakeScreenshotFile(const QString &uri, const QStringList &temporaryFolders)
{
    const QUrl url(uri);
    if (!url.isLocalFile())
        return {};
    const QString path = url.toLocalFile();
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    const QImage image = ReadImage(path);
    if (!info.isSymLink() && InFolder(path, temporaryFolders))
        QFile::remove(path);
    return image;
}

QString ScreenshotUnreadableText()
{
    return QStringLiteral("The desktop's screenshot could not be read.");
}

TScreenshotPick::TScreenshotPick(QImage shot, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), FShot(std::move(shot))
{
    setWindowTitle(QStringLiteral("Pick from screenshot"));
    setAccessibleName(windowTitle());
    setAccessibleDescription(QStringLiteral("Arrow keys move the pointer, + and - change the square taken, Return "
                                            "takes the colour, Escape cancels"));
    setCursor(Qt::CrossCursor);
}

TScreenshotPick::~TScreenshotPick()
{
    delete FOverlay.data();
}

QPoint TScreenshotPick::ShotPixel(QPointF local) const
{
    if (width() <= 0 || height() <= 0)
        return {};
    const int x = static_cast<int>(std::floor(local.x() * FShot.width() / width()));
    const int y = static_cast<int>(std::floor(local.y() * FShot.height() / height()));
    return {std::clamp(x, 0, FShot.width() - 1), std::clamp(y, 0, FShot.height() - 1)};
}

void TScreenshotPick::Begin()
{
    showFullScreen();
    TScreenAccess access;
    access.Grab = [this](int, const QRect &area) {
        QImage part(area.size(), QImage::Format_RGB32);
        part.fill(Qt::black);
        QPainter painter(&part);
        painter.drawImage(QPoint(0, 0), FShot, area);
        return part;
    };
    access.Pointer = [this](QPointF seen) { return TDevicePos{0, ShotPixel(mapFromGlobal(seen))}; };
    access.MovePointer = [this](const TDevicePos &to) {
        const QPointF local((to.Pos.x() + 0.5) * width() / FShot.width(), (to.Pos.y() + 0.5) * height() / FShot.height());
        QCursor::setPos(mapToGlobal(local.toPoint()));
    };
    access.Monitors = [this](int) { return QList<QRect>{FShot.rect()}; };
    auto *overlay = new TPickOverlay(std::move(access), this);
    overlay->SetAverageSize(FSize);
    connect(overlay, &TPickOverlay::AverageSizeChanged, this, [this](int side) {
        FSize = side;
        emit AverageSizeChanged(side);
    });
    // Inside the full-screen window rather than a window of its own: a Wayland compositor places
    // windows where it likes, and this one must sit beside the pointer.
    overlay->setWindowFlags(Qt::Widget);
    FOverlay = overlay;
    connect(overlay, &TPickOverlay::Taken, this, [this](TColor color, const TExactColour &exact) {
        hide();
        emit Taken(color, exact);
    });
    connect(overlay, &TPickOverlay::Cancelled, this, [this] {
        hide();
        emit Cancelled();
    });
    overlay->Begin();
}

void TScreenshotPick::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(rect(), FShot);
}
