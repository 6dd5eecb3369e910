// Loading (start) and storing (close) the main window's sixteen settings items (two component
// images, fourteen integers) in a settings file as the program writes it: through the manager,
// which reads the file afresh for every operation and replaces it once per item, beside the same
// work on one in-memory parse of the file (the floor). The argument is the number of lines of the
// picker's stored image: 3 as the program leaves it, 16,000 for a file that has grown one huge.
#include "framework/ColorDialog.h"
#include "picker/ColPickDlg.h"
#include "settings/IniFile.h"
#include "settings/RegMng.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <map>
#include <memory>

namespace {

class TBenchForm : public TComponent {
public:
    TBenchForm()
    {
        DeclareReference(QStringLiteral("ColorDialog"), ColorDialog);
        DeclareReference(QStringLiteral("ColorPickerDialog"), ColorPickerDialog);
        auto *dialog = new TColorDialog(this);
        dialog->SetName(QStringLiteral("ColorDialog"));
        auto *picker = new TColorPickerDialog(this);
        picker->SetName(QStringLiteral("ColorPickerDialog"));
    }
    QString ClassName() const override { return QStringLiteral("TForm1"); }
    bool IsForm() const override { return true; }
    TColorDialog *ColorDialog = nullptr;
    TColorPickerDialog *ColorPickerDialog = nullptr;
};

// Reads and writes the entries of a text parsed once.
class TMemoryFiler : public TRegFiler {
public:
    TMemoryFiler(TRegManager *manager, TIniData &data) : TRegFiler(manager), FData(data) {}
    QString ReadEntry(const QString &section, const QString &ident, const QString &defaultValue) override
    {
        return FData.ReadString(section, ident, defaultValue);
    }
    void WriteEntry(const QString &section, const QString &ident, const QString &value) override
    {
        FData.WriteString(section, ident, value);
    }

private:
    TIniData &FData;
};

struct TFixture {
    QTemporaryDir dir;
    TRecordingMessageSink sink;
    TRegManager manager{nullptr, sink};
    TBenchForm form;

    explicit TFixture(int pickerLines)
    {
        TColorDialog::RegisterClass();
        TColorPickerDialog::RegisterClass();
        manager.RegType = rtIni;
        manager.IniFileName = dir.filePath(QStringLiteral("pigmora.ini"));
        AddForm1RegItems(*manager.RegItems());
        // The file as a session of the program leaves it: both dialogs changed from their designs;
        // a title long enough gives the picker's image its number of lines.
        form.ColorDialog->Color = 0x3366CC;
        form.ColorDialog->Options = OptionBit(cdFullOpen);
        for (int n = 0; n < 16; ++n)
            SetCustomColorAt(form.ColorDialog->CustomColors, n, RGB(n * 16, 255 - n * 8, n * 3));
        form.ColorPickerDialog->SetColor(0x00D1B598);
        form.ColorPickerDialog->SetColorSwitch(csBlue);
        form.ColorPickerDialog->DesignLeft = 280;
        form.ColorPickerDialog->DesignTop = 104;
        if (pickerLines > 3)
            form.ColorPickerDialog->SetTitle(QString(pickerLines * 32 - 100, QLatin1Char('t')));
        Close(form, [&](const QString &name) { return manager.Filer(name); });
    }

    // The storing steps of the main window's close: two components, then fourteen integers.
    template <class Lookup>
    static void Close(TBenchForm &form, Lookup filer)
    {
        filer(QStringLiteral("ColorDialogComponent"))->WriteComponent(form.ColorDialog);
        filer(QStringLiteral("ColorPickerDialogComponent"))->WriteComponent(form.ColorPickerDialog);
        filer(QStringLiteral("Form1Top"))->WriteInteger(120);
        filer(QStringLiteral("Form1Left"))->WriteInteger(340);
        filer(QStringLiteral("fMyColor"))->WriteInteger(0x00D1B598);
        for (int n = 16; n <= 26; ++n)
            filer(QStringLiteral("TemporaryPalette%1").arg(n))->WriteInteger(RGB(n, n * 2, n * 3));
    }
};

TFixture &Fixture(int pickerLines)
{
    static std::map<int, std::unique_ptr<TFixture>> fixtures;
    auto &f = fixtures[pickerLines];
    if (!f)
        f = std::make_unique<TFixture>(pickerLines);
    return *f;
}

// The loading steps of the main window: two components, then fourteen integers.
template <class Lookup>
std::int64_t LoadSixteenItems(TBenchForm &form, Lookup filer)
{
    filer(QStringLiteral("ColorDialogComponent"))->ReadComponent(form.ColorDialog);
    filer(QStringLiteral("ColorPickerDialogComponent"))->ReadComponent(form.ColorPickerDialog);
    std::int64_t sum = filer(QStringLiteral("Form1Top"))->ReadInteger();
    sum += filer(QStringLiteral("Form1Left"))->ReadInteger();
    sum += filer(QStringLiteral("fMyColor"))->ReadInteger();
    for (int n = 16; n <= 26; ++n)
        sum += filer(QStringLiteral("TemporaryPalette%1").arg(n))->ReadInteger();
    return sum + form.ColorDialog->CustomColors.size() + form.ColorPickerDialog->ColorSwitch();
}

void BM_StartThroughManager(benchmark::State &state)
{
    TFixture &f = Fixture(static_cast<int>(state.range(0)));
    TBenchForm form;
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadSixteenItems(form, [&](const QString &name) { return f.manager.Filer(name); }));
    if (form.ColorDialog->CustomColors.size() != 16 || form.ColorPickerDialog->ColorSwitch() != csBlue)
        state.SkipWithError("the stored components were not read back");
}

void BM_StartFromOneInMemoryParse(benchmark::State &state)
{
    TFixture &f = Fixture(static_cast<int>(state.range(0)));
    TBenchForm form;
    for (auto _ : state) {
        QByteArray bytes;
        ReadWholeFile(f.manager.IniFileName, bytes);
        TIniData data = TIniData::Parse(bytes);
        TMemoryFiler filer(&f.manager, data);
        benchmark::DoNotOptimize(LoadSixteenItems(form, [&](const QString &name) {
            filer.Item = f.manager.RegItems()->FindItem(name);
            return &filer;
        }));
    }
}

void BM_CloseThroughManager(benchmark::State &state)
{
    TFixture &f = Fixture(static_cast<int>(state.range(0)));
    const std::uint64_t syncs = FileSyncCount();
    for (auto _ : state)
        TFixture::Close(f.form, [&](const QString &name) { return f.manager.Filer(name); });
    state.counters["syncs"] = benchmark::Counter(double(FileSyncCount() - syncs), benchmark::Counter::kAvgIterations);
    if (!f.sink.Messages.empty())
        state.SkipWithError("the store showed a message");
}

void BM_CloseIntoOneInMemoryText(benchmark::State &state)
{
    TFixture &f = Fixture(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QByteArray bytes;
        ReadWholeFile(f.manager.IniFileName, bytes);
        TIniData data = TIniData::Parse(bytes);
        TMemoryFiler filer(&f.manager, data);
        TFixture::Close(f.form, [&](const QString &name) {
            filer.Item = f.manager.RegItems()->FindItem(name);
            return &filer;
        });
        WriteWholeFileAtomic(f.manager.IniFileName, data.Serialize());
    }
}

BENCHMARK(BM_StartThroughManager)->Arg(3)->Arg(16000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartFromOneInMemoryParse)->Arg(3)->Arg(16000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CloseThroughManager)->Arg(3)->Arg(16000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CloseIntoOneInMemoryText)->Arg(3)->Arg(16000)->Unit(benchmark::kMillisecond);

} // namespace
