#pragma once

#include "colour/Palette.h"

#include <QImage>
#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class TPaletteModel;

// What the palette window asks of the main window.
struct TPaletteWindowActions {
    std::function<TExactColour()> Current;    // the current colour
    std::function<TExactColour()> Comparison; // the colour a gradient runs to
    std::function<void(const TExactColour &)> Choose; // makes a colour current
    std::function<void(const QString &)> Fail;        // shows a failure in the error box
    // Asks for a file's name (`save` for export); an empty answer cancels.
    std::function<QString(bool save, const QString &caption, const QString &filter)> AskFileName;
};

// The user's palette as swatches, and the ways to fill it: the current colour, a scale, a
// harmony or a gradient made from it, an image's colours, a palette file. A click on a swatch,
// or Return or Space on it, makes its colour current; Delete removes it; Ctrl with an arrow key
// moves it; F2 goes to its name. An image's colours are taken in a worker thread, with progress
// and Cancel (Escape), the window answering meanwhile; an image dropped on the window is taken
// too.
class TPaletteWindow : public QWidget {
    Q_OBJECT
public:
    TPaletteWindow(QWidget *owner, TPaletteModel *model, TPaletteWindowActions actions);
    ~TPaletteWindow() override;

    QListWidget *Swatches() const { return FSwatches; }
    QLineEdit *PaletteName() const { return FPaletteName; }
    QLineEdit *EntryName() const { return FEntryName; }
    QLabel *EntryText() const { return FEntryText; }
    QComboBox *MakeChoice() const { return FMake; }
    QComboBox *GamutChoice() const { return FGamut; }
    QComboBox *SpaceChoice() const { return FSpace; }
    QSpinBox *StepCount() const { return FSteps; }
    QSpinBox *ImageCount() const { return FImageCount; }
    QProgressBar *ImageProgress() const { return FProgress; }
    QPushButton *CancelButton() const { return FCancel; }
    QPushButton *ImageButton() const { return FImage; }

    int Selected() const;
    void Select(int index);

    void AddCurrent();
    void RemoveSelected();
    // Moves the selected colour by `delta` places (-1 earlier, 1 later), keeping it selected.
    void MoveSelected(int delta);
    void ChooseSelected();
    // Appends what the make choice makes from the current colour (a gradient: to the comparison
    // colour).
    void MakeIntoPalette();
    // Asks for an image and takes its colours.
    void OpenImage();
    // Takes the colours of an image file, or of an image, in the worker; false (and nothing
    // started) while one is running or the file is refused (said through Fail).
    bool TakeImageFile(const QString &fileName);
    bool TakeImage(const QImage &image);
    void CancelImage();
    bool ImageRunning() const { return FRun != nullptr; }
    void ImportPalette();
    void ExportPalette();

signals:
    // The worker ended: its colours were added, or it was cancelled or failed.
    void ImageFinished();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    struct TRun;
    void Build();
    void ShowPalette();
    void ShowSelected();
    void UpdateMakeControls();
    void Start(std::function<std::optional<QImage>(QString &)> load, const QString &what);
    void Finished(const std::shared_ptr<TRun> &run);
    void Fail(const QString &message);

    TPaletteModel *FModel;
    TPaletteWindowActions FActions;
    QListWidget *FSwatches = nullptr;
    QLineEdit *FPaletteName = nullptr, *FEntryName = nullptr;
    QLabel *FEntryText = nullptr;
    QComboBox *FMake = nullptr, *FGamut = nullptr, *FSpace = nullptr;
    QSpinBox *FSteps = nullptr, *FImageCount = nullptr;
    QProgressBar *FProgress = nullptr;
    QPushButton *FCancel = nullptr, *FImage = nullptr;
    // The entries the swatches show, row by row.
    std::vector<TPaletteEntry> FShown;
    std::shared_ptr<TRun> FRun;
    std::thread FWorker;
};

// The file name as a message shows it: control characters and invisible marks escaped.
QString ShownFileName(const QString &fileName);
