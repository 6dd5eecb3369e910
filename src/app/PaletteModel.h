#pragma once

#include "colour/Palette.h"

#include <QObject>
#include <QStringList>

#include <optional>

// The user's own palette: a named, ordered list of named exact colours beside the current
// colour. Every change is signalled once. Names are kept safe to show and store: control
// characters and line separators become spaces, and a name is cut at MaxPaletteNameLength.
class TPaletteModel : public QObject {
    Q_OBJECT
public:
    // A palette beyond this many colours is no palette a person keeps; more are not added.
    static constexpr int Limit = 10000;

    explicit TPaletteModel(QObject *parent = nullptr);

    const TPalette &Palette() const { return FPalette; }
    int Count() const { return static_cast<int>(FPalette.Entries.size()); }

    void SetName(const QString &name);
    // Appends entries (as many as the limit leaves room for); the number added.
    int Add(const std::vector<TPaletteEntry> &entries);
    // Replaces the whole palette, its name too (an import).
    void Replace(const TPalette &palette);
    void Remove(int index);
    void Rename(int index, const QString &name);
    // Moves an entry to another place; false when either lies outside.
    bool Move(int from, int to);

    // Whether the settings file is to keep the palette: it held one at start, or it was changed.
    bool Used() const { return FUsed; }
    // The lines the settings file keeps, one per colour: the stored colour text, a tab, the name.
    QStringList StoredLines() const;
    // Takes the palette as the settings file held it; lines that read no colour are skipped.
    void Load(const QString &name, const QStringList &lines, bool held);

    // A name as the palette keeps it.
    static QString CleanName(const QString &name);

signals:
    void Changed();

private:
    void Touch();

    TPalette FPalette;
    bool FUsed = false;
};
