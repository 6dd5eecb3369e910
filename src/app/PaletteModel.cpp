#include "app/PaletteModel.h"

#include "colour/ColourHistory.h"
#include "colour/PaletteFormats.h"

TPaletteModel::TPaletteModel(QObject *parent) : QObject(parent)
{
    FPalette.Name = QStringLiteral("Pigmora");
}

QString TPaletteModel::CleanName(const QString &name)
{
    QString clean = name.left(MaxPaletteNameLength);
    // A surrogate pair cut in two leaves no lone half behind.
    if (!clean.isEmpty() && clean.back().isHighSurrogate())
        clean.chop(1);
    for (QChar &c : clean) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x2028 || u == 0x2029)
            c = QLatin1Char(' ');
    }
    return clean;
}

void TPaletteModel::Touch()
{
    FUsed = true;
    emit Changed();
}

void TPaletteModel::SetName(const QString &name)
{
    const QString clean = CleanName(name);
    if (clean == FPalette.Name)
        return;
    FPalette.Name = clean;
    Touch();
}

int TPaletteModel::Add(const std::vector<TPaletteEntry> &entries)
{
    int added = 0;
    for (const TPaletteEntry &e : entries) {
        if (Count() >= Limit)
            break;
        FPalette.Entries.push_back({CleanName(e.Name), e.Colour});
        ++added;
    }
    if (added)
        Touch();
    return added;
}

void TPaletteModel::Replace(const TPalette &palette)
{
    FPalette.Name = CleanName(palette.Name);
    FPalette.Entries.clear();
    for (const TPaletteEntry &e : palette.Entries) {
        if (Count() >= Limit)
            break;
        FPalette.Entries.push_back({CleanName(e.Name), e.Colour});
    }
    Touch();
}

void TPaletteModel::Remove(int index)
{
    if (index < 0 || index >= Count())
        return;
    FPalette.Entries.erase(FPalette.Entries.begin() + index);
    Touch();
}

void TPaletteModel::Rename(int index, const QString &name)
{
    if (index < 0 || index >= Count())
        return;
    const QString clean = CleanName(name);
    if (FPalette.Entries[static_cast<size_t>(index)].Name == clean)
        return;
    FPalette.Entries[static_cast<size_t>(index)].Name = clean;
    Touch();
}

bool TPaletteModel::Move(int from, int to)
{
    if (from < 0 || from >= Count() || to < 0 || to >= Count())
        return false;
    if (from == to)
        return true;
    const TPaletteEntry e = FPalette.Entries[static_cast<size_t>(from)];
    FPalette.Entries.erase(FPalette.Entries.begin() + from);
    FPalette.Entries.insert(FPalette.Entries.begin() + to, e);
    Touch();
    return true;
}

QStringList TPaletteModel::StoredLines() const
{
    QStringList lines;
    lines.reserve(Count());
    for (const TPaletteEntry &e : FPalette.Entries)
        lines << StoredColourText(e.Colour) + QLatin1Char('\t') + e.Name;
    return lines;
}

void TPaletteModel::Load(const QString &name, const QStringList &lines, bool held)
{
    FPalette.Name = name.isEmpty() ? QStringLiteral("Pigmora") : CleanName(name);
    FPalette.Entries.clear();
    for (const QString &line : lines) {
        if (Count() >= Limit)
            break;
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        const auto colour = ReadStoredColour(tab < 0 ? QStringView(line) : QStringView(line).left(tab));
        if (colour)
            FPalette.Entries.push_back({tab < 0 ? QString() : CleanName(line.mid(tab + 1)), *colour});
    }
    FUsed = held;
    emit Changed();
}
