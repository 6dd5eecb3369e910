// The main window with a megabyte of text in every field, beside the same window with its fields
// empty: one blink of the text cursor in the focused field (the repaint of the cursor's strip),
// a repaint of the whole field, and each command that runs without a dialog.
#include "app/Unit1.h"
#include "app/WindowCommands.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <ctime>

#include <memory>

namespace {

constexpr int Megabyte = 1 << 20;

struct TWindow {
    TRecordingMessageSink messages;
    std::unique_ptr<TForm1> form;
    explicit TWindow(bool full)
    {
        TForm1Env env;
        env.Messages = &messages;
        form = std::make_unique<TForm1>(env);
        form->show();
        form->activateWindow();
        QApplication::processEvents();
        Fill(full);
        form->PovEdit->setFocus();
        QApplication::processEvents();
    }
    void Fill(bool full)
    {
        if (!full)
            return;
        // A notation followed by a megabyte of digits, as a paste of a long list would leave it.
        for (QLineEdit *e : form->findChildren<QLineEdit *>())
            e->setText(QStringLiteral("rgb <0.1, 0.2, 0.3> ") + QString(Megabyte, QLatin1Char('7')));
        form->KanjiEdit->setText(QString(Megabyte, QChar(0x3042)));
    }
};

void BM_CursorBlink(benchmark::State &state)
{
    TWindow w(state.range(0) != 0);
    QLineEdit *edit = w.form->PovEdit;
    for (auto _ : state)
        edit->repaint(QRect(0, 0, 4, edit->height()));
    state.SetLabel(state.range(0) ? "1 MB in every field" : "empty fields");
}
BENCHMARK(BM_CursorBlink)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_FieldRepaint(benchmark::State &state)
{
    TWindow w(state.range(0) != 0);
    QLineEdit *edit = w.form->PovEdit;
    for (auto _ : state)
        edit->repaint();
    state.SetLabel(state.range(0) ? "1 MB in every field" : "empty fields");
}
BENCHMARK(BM_FieldRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The event loop left alone for three seconds with the text cursor in the POV-Ray field: the
// share of one core the program uses while idle, cursor blink included.
void BM_IdleCpu(benchmark::State &state)
{
    TWindow w(state.range(0) != 0);
    double share = 0;
    for (auto _ : state) {
        const std::clock_t cpu = std::clock();
        QElapsedTimer wall;
        wall.start();
        QEventLoop idle;
        QTimer::singleShot(3000, &idle, &QEventLoop::quit);
        idle.exec();
        share = 100.0 * (double(std::clock() - cpu) / CLOCKS_PER_SEC) / (wall.elapsed() / 1000.0);
    }
    state.counters["cpu_percent"] = share;
    state.SetLabel(state.range(0) ? "1 MB in every field" : "empty fields");
}
BENCHMARK(BM_IdleCpu)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

// Every command that opens no dialog, with the fields filled again before each run.
void BM_Command(benchmark::State &state)
{
    const TWindowCommand &command = MainWindowCommands()[static_cast<std::size_t>(state.range(0))];
    TWindow w(state.range(1) != 0);
    for (auto _ : state) {
        state.PauseTiming();
        w.Fill(state.range(1) != 0);
        state.ResumeTiming();
        (w.form.get()->*command.Handler)();
        QApplication::processEvents();
    }
    state.SetLabel(command.Text.toStdString() + (state.range(1) ? ", 1 MB in every field" : ", empty fields"));
}

void CommandArgs(benchmark::internal::Benchmark *b)
{
    const auto &commands = MainWindowCommands();
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const auto h = commands[i].Handler;
        if (h == &TForm1::OpenButtonClick || h == &TForm1::PhotoButtonClick || h == &TForm1::ScreenPickClick
            || h == &TForm1::AboutButtonClick || h == &TForm1::ExitButtonClick)
            continue;
        for (int full : {0, 1})
            b->Args({static_cast<long>(i), full});
    }
}
BENCHMARK(BM_Command)->Apply(CommandArgs)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
