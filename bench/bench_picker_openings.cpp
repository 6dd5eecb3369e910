// Memory kept per opening of the picker: the dialog component's Execute runs its window in the
// real modal loop, OK is pressed from inside that loop and the window is released as in the
// program. Next to it, a bare dialog opened and closed the same way, with and without as many
// controls as the picker window has. The counters give the heap in use (mallinfo2) and the
// anonymous memory (RssAnon of /proc/self/status) that a batch of openings leaves behind, after
// as many openings have warmed the caches up.
#include "picker/ColPickDlg.h"
#include "picker/ColPickForm.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cstdlib>
#include <malloc.h>
#include <functional>

namespace {

// RssAnon in kB; -1 when the system does not tell.
long AnonKiloBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("RssAnon:"))
            return line.mid(8).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Bytes of the heap in use.
long HeapBytes()
{
    return static_cast<long>(mallinfo2().uordblks);
}

// Once the modal loop runs, presses OK in the window it shows.
void PressOkSoon()
{
    QTimer::singleShot(0, [] {
        if (auto *form = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            form->accept();
    });
}

// Once the window shows its rendered field, presses its OK button (not a bare accept, so the
// colour is taken as the program takes it).
void PressPickerOkOnceRendered()
{
    QTimer::singleShot(1, [] {
        auto *form = dynamic_cast<TColorPickerForm *>(QApplication::activeModalWidget());
        if (form && form->RenderPasses() > 0 && !form->Rendering()) {
            QCoreApplication::processEvents(); // the field's paint
            form->OKBtnClick();
        } else {
            PressPickerOkOnceRendered();
        }
    });
}

void OpenPicker(TColorPickerDialog &dialog)
{
    dialog.SetColor(0x00D1B598);
    PressPickerOkOnceRendered();
    if (!dialog.Execute())
        std::abort();
    // What the program's event loop does next: release the window.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void OpenBareDialog()
{
    auto *dialog = new QDialog();
    dialog->resize(439, 313);
    PressOkSoon();
    dialog->exec();
    dialog->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// A bare dialog with as many controls of the same kinds as the picker window: panels, labels,
// captioned groups with radio items, edits, buttons and plain painted widgets, all shown.
void OpenBareDialogWithControls()
{
    auto *dialog = new QDialog();
    dialog->resize(439, 313);
    for (int i = 0; i < 3; ++i)
        (new QFrame(dialog))->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    new QLabel(QStringLiteral("select color"), dialog);
    for (int g = 0; g < 2; ++g) {
        auto *group = new QGroupBox(QStringLiteral("group"), dialog);
        for (int i = 0; i < 3; ++i)
            new QRadioButton(QStringLiteral("item"), group);
    }
    for (int i = 0; i < 6; ++i)
        new QLineEdit(QStringLiteral("0"), dialog);
    new QGroupBox(QStringLiteral("palette"), dialog);
    new QPushButton(QStringLiteral("O K"), dialog);
    new QPushButton(QStringLiteral("Cancel"), dialog);
    for (int i = 0; i < 4; ++i)
        new QWidget(dialog);
    for (int i = 0; i < 2; ++i)
        new QTimer(dialog);
    PressOkSoon();
    dialog->exec();
    dialog->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Runs `open` one batch to warm up, then in batches of `state.range(0)`, and reports the
// anonymous memory grown per batch.
void Openings(benchmark::State &state, const std::function<void()> &open)
{
    const int batch = static_cast<int>(state.range(0));
    // Qt's caches (fonts, style pixmaps, timer ids) go on filling over the first few hundred
    // openings; a whole batch first, so that what is measured is what stays per opening.
    for (int i = 0; i < batch; ++i)
        open();
    long grown = 0;
    long heap = 0;
    long batches = 0;
    for (auto _ : state) {
        const long before = AnonKiloBytes();
        const long heapBefore = HeapBytes();
        for (int i = 0; i < batch; ++i)
            open();
        heap += HeapBytes() - heapBefore;
        grown += AnonKiloBytes() - before;
        ++batches;
    }
    state.counters["anon_kB_per_batch"] = batches ? static_cast<double>(grown) / static_cast<double>(batches) : 0;
    state.counters["heap_B_per_batch"] = batches ? static_cast<double>(heap) / static_cast<double>(batches) : 0;
    state.counters["openings_per_batch"] = batch;
}

void BM_PickerOpenings(benchmark::State &state)
{
    TColorPickerDialog dialog;
    Openings(state, [&] { OpenPicker(dialog); });
}

void BM_BareDialogOpenings(benchmark::State &state)
{
    Openings(state, [] { OpenBareDialog(); });
}

void BM_BareDialogWithControlsOpenings(benchmark::State &state)
{
    Openings(state, [] { OpenBareDialogWithControls(); });
}

} // namespace

BENCHMARK(BM_BareDialogWithControlsOpenings)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareDialogOpenings)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickerOpenings)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);
