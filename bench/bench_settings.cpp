// Loading the main window's sixteen settings items (two component images, fourteen integers)
// from a settings file as the program writes it: through the manager, opening the file for every
// entry access, beside the same reads from one in-memory parse of the file (the floor).
#include "framework/ColorDialog.h"
#include "picker/ColPickDlg.h"
#include "settings/IniFile.h"
#include "settings/RegMng.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

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

// Reads the entries from a text parsed once.
class TMemoryFiler : public TRegFiler {
public:
    TMemoryFiler(TRegManager *manager, const TIniData &data) : TRegFiler(manager), FData(data) {}
    QString ReadEntry(const QString &section, const QString &ident, const QString &defaultValue) override
    {
        return FData.ReadString(section, ident, defaultValue);
    }

private:
    const TIniData &FData;
};

struct TFixture {
    QTemporaryDir dir;
    TRecordingMessageSink sink;
    TRegManager manager{nullptr, sink};

    TFixture()
    {
        TColorDialog::RegisterClass();
        TColorPickerDialog::RegisterClass();
        manager.RegType = rtIni;
        manager.IniFileName = dir.filePath(QStringLiteral("pigmora.ini"));
        AddForm1RegItems(*manager.RegItems());
        // The file as a session of the program leaves it: both dialogs changed from their designs.
        TBenchForm form;
        form.ColorDialog->Color = 0x3366CC;
        form.ColorDialog->Options = OptionBit(cdFullOpen);
        for (int n = 0; n < 16; ++n)
            SetCustomColorAt(form.ColorDialog->CustomColors, n, RGB(n * 16, 255 - n * 8, n * 3));
        form.ColorPickerDialog->SetColor(0x00D1B598);
        form.ColorPickerDialog->SetColorSwitch(csBlue);
        form.ColorPickerDialog->DesignLeft = 280;
        form.ColorPickerDialog->DesignTop = 104;
        manager.Filer(QStringLiteral("ColorDialogComponent"))->WriteComponent(form.ColorDialog);
        manager.Filer(QStringLiteral("ColorPickerDialogComponent"))->WriteComponent(form.ColorPickerDialog);
        manager.Filer(QStringLiteral("Form1Top"))->WriteInteger(120);
        manager.Filer(QStringLiteral("Form1Left"))->WriteInteger(340);
        manager.Filer(QStringLiteral("fMyColor"))->WriteInteger(0x00D1B598);
        for (int n = 16; n <= 26; ++n)
            manager.Filer(QStringLiteral("TemporaryPalette%1").arg(n))->WriteInteger(RGB(n, n * 2, n * 3));
    }
};

TFixture &Fixture()
{
    static TFixture fixture;
    return fixture;
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

void BM_LoadThroughManagerFilePerAccess(benchmark::State &state)
{
    TFixture &f = Fixture();
    TBenchForm form;
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadSixteenItems(form, [&](const QString &name) { return f.manager.Filer(name); }));
    if (form.ColorDialog->CustomColors.size() != 16 || form.ColorPickerDialog->ColorSwitch() != csBlue)
        state.SkipWithError("the stored components were not read back");
}

void BM_LoadFromOneInMemoryParse(benchmark::State &state)
{
    TFixture &f = Fixture();
    TBenchForm form;
    for (auto _ : state) {
        QByteArray bytes;
        ReadWholeFile(f.manager.IniFileName, bytes);
        const TIniData data = TIniData::Parse(bytes);
        TMemoryFiler filer(&f.manager, data);
        benchmark::DoNotOptimize(LoadSixteenItems(form, [&](const QString &name) {
            filer.Item = f.manager.RegItems()->FindItem(name);
            return &filer;
        }));
    }
}

BENCHMARK(BM_LoadThroughManagerFilePerAccess)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadFromOneInMemoryParse)->Unit(benchmark::kMicrosecond);

} // namespace
