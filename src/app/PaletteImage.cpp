// The palette window's images and files: an image's colours taken in a worker thread, images
// dropped on the window, and palette files in and out.
#include "app/PaletteWindow.h"

#include "app/PaletteFiles.h"
#include "app/PaletteModel.h"
#include "colour/ImageColours.h"
#include "desktop/CommandLine.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QUrl>

// What the worker and the window share: the worker writes Result and Error before it posts its
// end, and reads only Cancel meanwhile.
struct TPaletteWindow::TRun {
    std::atomic<bool> Cancel = false;
    std::optional<TPalette> Result;
    QString Error;
};

QString ShownFileName(const QString &fileName)
{
    return ShownText(QDir::toNativeSeparators(fileName).left(1000));
}

TPaletteWindow::~TPaletteWindow()
{
    // The name field loses the focus while the base class deletes it and reports its editing
    // finished, when this object is gone: the name is not taken from a window that is closing.
    FPaletteName->disconnect(this);
    if (FRun)
        FRun->Cancel = true;
    if (FWorker.joinable())
        FWorker.join();
}

void TPaletteWindow::OpenImage()
{
    if (ImageRunning() || !FActions.AskFileName)
        return;
    QStringList patterns;
    for (const QByteArray &suffix : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(suffix);
    const QString name = FActions.AskFileName(false, QStringLiteral("Take colours from an image"),
                                              QStringLiteral("Images (%1);;All files (*)").arg(patterns.join(QLatin1Char(' '))));
    if (!name.isEmpty())
        TakeImageFile(name);
}

bool TPaletteWindow::TakeImageFile(const QString &fileName)
{
    if (ImageRunning())
        return false;
    Start([fileName](QString &why) -> std::optional<QImage> {
        QString reason;
        auto image = ReadImageFile(fileName, &reason);
        if (!image)
            why = QStringLiteral("The image %1 could not be read: %2").arg(ShownFileName(fileName), reason);
        return image;
    }, fileName);
    return true;
}

bool TPaletteWindow::TakeImage(const QImage &image)
{
    if (ImageRunning())
        return false;
    Start([image](QString &) -> std::optional<QImage> { return image; }, QString());
    return true;
}

void TPaletteWindow::Start(std::function<std::optional<QImage>(QString &)> load, const QString &)
{
    if (FWorker.joinable())
        FWorker.join();
    auto run = std::make_shared<TRun>();
    FRun = run;
    FProgress->setValue(0);
    FCancel->setEnabled(true);
    FImage->setEnabled(false);
    const int k = FImageCount->value();
    FWorker = std::thread([this, run, load = std::move(load), k] {
        if (auto image = load(run->Error)) {
            TImageColoursRun how;
            how.Cancel = &run->Cancel;
            // Progress reaches the window through its event queue; the window outlives the worker.
            how.Progress = [this](int percent) {
                QMetaObject::invokeMethod(FProgress, [this, percent] { FProgress->setValue(percent); }, Qt::QueuedConnection);
            };
            run->Result = ImageColours(*image, k, how);
        }
        QMetaObject::invokeMethod(this, [this, run] { Finished(run); }, Qt::QueuedConnection);
    });
}

void TPaletteWindow::Finished(const std::shared_ptr<TRun> &run)
{
    if (FWorker.joinable())
        FWorker.join();
    FRun.reset();
    FCancel->setEnabled(false);
    FImage->setEnabled(true);
    FProgress->setValue(0);
    if (!run->Error.isEmpty()) {
        Fail(run->Error);
    } else if (run->Result && !run->Cancel) {
        if (run->Result->Entries.empty())
            Fail(QStringLiteral("The image has no pixel that is not wholly transparent."));
        const int first = FModel->Count();
        if (FModel->Add(run->Result->Entries) > 0)
            Select(first);
    }
    emit ImageFinished();
}

void TPaletteWindow::CancelImage()
{
    if (FRun)
        FRun->Cancel = true;
}

void TPaletteWindow::dragEnterEvent(QDragEnterEvent *e)
{
    const QMimeData *data = e->mimeData();
    const bool file = data->hasUrls() && !data->urls().isEmpty() && data->urls().constFirst().isLocalFile();
    if (!ImageRunning() && (file || data->hasImage()))
        e->acceptProposedAction();
}

void TPaletteWindow::dropEvent(QDropEvent *e)
{
    const QMimeData *data = e->mimeData();
    if (data->hasUrls() && !data->urls().isEmpty() && data->urls().constFirst().isLocalFile())
        TakeImageFile(data->urls().constFirst().toLocalFile());
    else if (data->hasImage())
        TakeImage(qvariant_cast<QImage>(data->imageData()));
    else
        return;
    e->acceptProposedAction();
}

void TPaletteWindow::ImportPalette()
{
    if (!FActions.AskFileName)
        return;
    const QString name = FActions.AskFileName(false, QStringLiteral("Import palette"), PaletteFileFilter(false));
    if (name.isEmpty())
        return;
    QString why;
    const auto palette = ReadPaletteFile(name, &why);
    if (!palette) {
        Fail(ShownText(why));
        return;
    }
    FModel->Replace(*palette);
    Select(0);
}

void TPaletteWindow::ExportPalette()
{
    if (!FActions.AskFileName)
        return;
    QString name = FActions.AskFileName(true, QStringLiteral("Export palette"), PaletteFileFilter(true));
    if (name.isEmpty())
        return;
    if (!PaletteFormatForFile(name))
        name += QStringLiteral(".gpl");
    QString why;
    if (!WritePaletteFile(name, FModel->Palette(), &why))
        Fail(ShownText(why));
}
