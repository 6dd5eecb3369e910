// The palette window: its controls, the swatches and the commands on them, and making scales,
// harmonies and gradients into the palette (images and files: PaletteImage.cpp).
#include "app/PaletteWindow.h"

#include "app/PaletteModel.h"
#include "colour/Gradient.h"
#include "colour/ImageColours.h"
#include "colour/PaletteFormats.h"
#include "colour/Scales.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>

namespace {

// The make choice's entries after the scale: the harmonies in their order, then the gradient.
constexpr int ScaleChoice = 0;

// The spaces a gradient is offered in, as color-mix() names them.
const char *const GradientSpaces[] = {"oklab", "oklch", "oklch longer hue", "lab", "lch", "srgb", "srgb-linear",
                                      "display-p3", "rec2020", "hsl", "hsl longer hue", "hwb", "xyz-d65", "xyz-d50"};

QPixmap SwatchPixmap(const TExactColour &c)
{
    QPixmap pixmap(32, 32);
    const TRgb8 rgb = c.Rgb8();
    pixmap.fill(QColor(rgb.R, rgb.G, rgb.B));
    QPainter p(&pixmap);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawRect(0, 0, 31, 31);
    return pixmap;
}

QPushButton *Button(const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setAccessibleName(QString(text).remove(QLatin1Char('&')).remove(QChar(0x2026)));
    b->setAutoDefault(false);
    return b;
}

QLabel *Caption(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setBuddy(buddy);
    buddy->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    return l;
}

} // namespace

TPaletteWindow::TPaletteWindow(QWidget *owner, TPaletteModel *model, TPaletteWindowActions actions)
    : QWidget(owner, Qt::Window), FModel(model), FActions(std::move(actions))
{
    setObjectName(QStringLiteral("PaletteWindow"));
    setWindowTitle(QStringLiteral("Pigmora Palette"));
    setAccessibleName(windowTitle());
    setAcceptDrops(true);
    Build();
    connect(FModel, &TPaletteModel::Changed, this, &TPaletteWindow::ShowPalette);
    ShowPalette();
}

void TPaletteWindow::Build()
{
    auto *grid = new QGridLayout(this);
    int line = 0;
    FPaletteName = new QLineEdit(this);
    FPaletteName->setMaxLength(static_cast<int>(MaxPaletteNameLength));
    grid->addWidget(Caption(QStringLiteral("Palette &name"), FPaletteName, this), line, 0);
    grid->addWidget(FPaletteName, line++, 1, 1, 3);
    connect(FPaletteName, &QLineEdit::editingFinished, this, [this] { FModel->SetName(FPaletteName->text()); });

    FSwatches = new QListWidget(this);
    FSwatches->setObjectName(QStringLiteral("Swatches"));
    FSwatches->setAccessibleName(QStringLiteral("Palette colours"));
    FSwatches->setViewMode(QListView::IconMode);
    FSwatches->setMovement(QListView::Static);
    FSwatches->setResizeMode(QListView::Adjust);
    FSwatches->setWrapping(true);
    FSwatches->setUniformItemSizes(true);
    FSwatches->setIconSize(QSize(32, 32));
    FSwatches->setGridSize(QSize(76, 58));
    FSwatches->setTextElideMode(Qt::ElideRight);
    FSwatches->setSelectionMode(QAbstractItemView::SingleSelection);
    FSwatches->setMinimumSize(360, 200);
    FSwatches->installEventFilter(this);
    grid->addWidget(FSwatches, line++, 0, 1, 4);
    connect(FSwatches, &QListWidget::currentRowChanged, this, &TPaletteWindow::ShowSelected);
    connect(FSwatches, &QListWidget::itemClicked, this, [this] { ChooseSelected(); });

    FEntryName = new QLineEdit(this);
    FEntryName->setMaxLength(static_cast<int>(MaxPaletteNameLength));
    grid->addWidget(Caption(QStringLiteral("C&olour name"), FEntryName, this), line, 0);
    grid->addWidget(FEntryName, line++, 1, 1, 3);
    connect(FEntryName, &QLineEdit::returnPressed, this, [this] { FModel->Rename(Selected(), FEntryName->text()); });
    FEntryText = new QLabel(this);
    FEntryText->setObjectName(QStringLiteral("EntryText"));
    FEntryText->setTextFormat(Qt::PlainText);
    FEntryText->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    FEntryText->setFocusPolicy(Qt::StrongFocus);
    FEntryText->setAccessibleName(QStringLiteral("Colour"));
    grid->addWidget(FEntryText, line++, 0, 1, 4);

    auto *commands = new QHBoxLayout;
    QPushButton *add = Button(QStringLiteral("&Add current colour"), this);
    QPushButton *remove = Button(QStringLiteral("&Remove"), this);
    QPushButton *earlier = Button(QStringLiteral("Move &earlier"), this);
    QPushButton *later = Button(QStringLiteral("Move &later"), this);
    QPushButton *choose = Button(QStringLiteral("Make &current"), this);
    for (QPushButton *b : {add, remove, earlier, later, choose})
        commands->addWidget(b);
    grid->addLayout(commands, line++, 0, 1, 4);
    connect(add, &QPushButton::clicked, this, &TPaletteWindow::AddCurrent);
    connect(remove, &QPushButton::clicked, this, &TPaletteWindow::RemoveSelected);
    connect(earlier, &QPushButton::clicked, this, [this] { MoveSelected(-1); });
    connect(later, &QPushButton::clicked, this, [this] { MoveSelected(1); });
    connect(choose, &QPushButton::clicked, this, &TPaletteWindow::ChooseSelected);

    FMake = new QComboBox(this);
    FMake->addItem(QStringLiteral("Scale 50-950"));
    for (const THarmonyInfo &info : HarmonyInfos())
        FMake->addItem(QStringLiteral("%1 harmony").arg(QLatin1String(info.Caption)));
    FMake->addItem(QStringLiteral("Gradient to the comparison colour"));
    grid->addWidget(Caption(QStringLiteral("&Make"), FMake, this), line, 0);
    grid->addWidget(FMake, line, 1);
    FGamut = new QComboBox(this);
    FGamut->addItems({QStringLiteral("sRGB"), QStringLiteral("display-p3")});
    grid->addWidget(Caption(QStringLiteral("&Gamut"), FGamut, this), line, 2);
    grid->addWidget(FGamut, line++, 3);
    FSteps = new QSpinBox(this);
    FSteps->setRange(MinGradientSteps, MaxGradientSteps);
    FSteps->setValue(8);
    grid->addWidget(Caption(QStringLiteral("&Steps"), FSteps, this), line, 0);
    grid->addWidget(FSteps, line, 1);
    FSpace = new QComboBox(this);
    for (const char *space : GradientSpaces)
        FSpace->addItem(QLatin1String(space));
    grid->addWidget(Caption(QStringLiteral("&In"), FSpace, this), line, 2);
    grid->addWidget(FSpace, line++, 3);
    QPushButton *make = Button(QStringLiteral("A&dd to palette"), this);
    grid->addWidget(make, line++, 3);
    connect(make, &QPushButton::clicked, this, &TPaletteWindow::MakeIntoPalette);
    connect(FMake, &QComboBox::currentIndexChanged, this, &TPaletteWindow::UpdateMakeControls);
    UpdateMakeControls();

    FImageCount = new QSpinBox(this);
    FImageCount->setRange(1, MaxImageColours);
    FImageCount->setValue(8);
    grid->addWidget(Caption(QStringLiteral("&How many"), FImageCount, this), line, 0);
    grid->addWidget(FImageCount, line, 1);
    FImage = Button(QStringLiteral("&Take colours from an image\u2026"), this);
    grid->addWidget(FImage, line++, 2, 1, 2);
    connect(FImage, &QPushButton::clicked, this, &TPaletteWindow::OpenImage);
    FProgress = new QProgressBar(this);
    FProgress->setAccessibleName(QStringLiteral("Taking colours from the image"));
    FProgress->setRange(0, 100);
    FProgress->setValue(0);
    grid->addWidget(FProgress, line, 0, 1, 3);
    FCancel = Button(QStringLiteral("Cancel"), this);
    FCancel->setEnabled(false);
    grid->addWidget(FCancel, line++, 3);
    connect(FCancel, &QPushButton::clicked, this, &TPaletteWindow::CancelImage);

    auto *files = new QHBoxLayout;
    QPushButton *import = Button(QStringLiteral("Im&port\u2026"), this);
    QPushButton *exportButton = Button(QStringLiteral("E&xport\u2026"), this);
    files->addStretch();
    files->addWidget(import);
    files->addWidget(exportButton);
    grid->addLayout(files, line++, 0, 1, 4);
    connect(import, &QPushButton::clicked, this, &TPaletteWindow::ImportPalette);
    connect(exportButton, &QPushButton::clicked, this, &TPaletteWindow::ExportPalette);
}

void TPaletteWindow::UpdateMakeControls()
{
    const bool gradient = FMake->currentIndex() == FMake->count() - 1;
    FSteps->setEnabled(gradient);
    FSpace->setEnabled(gradient);
    FGamut->setEnabled(!gradient);
}

void TPaletteWindow::ShowPalette()
{
    const TPalette &palette = FModel->Palette();
    if (!FPaletteName->hasFocus() || FPaletteName->text() != palette.Name)
        FPaletteName->setText(palette.Name);
    const int keep = Selected();
    FSwatches->setUpdatesEnabled(false);
    // Only the rows whose colour or name changed are written again, so that a rename or a move
    // in a long palette costs a row or two, not the whole list.
    const int count = FModel->Count();
    while (FSwatches->count() > count)
        delete FSwatches->takeItem(FSwatches->count() - 1);
    FShown.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const TPaletteEntry &e = palette.Entries[static_cast<size_t>(i)];
        QListWidgetItem *item = i < FSwatches->count() ? FSwatches->item(i) : nullptr;
        if (item && FShown[static_cast<size_t>(i)] == e)
            continue;
        if (!item) {
            item = new QListWidgetItem;
            FSwatches->addItem(item);
        }
        const QString text = ExactColourText(e.Colour);
        item->setIcon(QIcon(SwatchPixmap(e.Colour)));
        item->setText(e.Name);
        item->setToolTip(e.Name.isEmpty() ? text : e.Name.left(200) + QStringLiteral(": ") + text);
        item->setData(Qt::AccessibleTextRole, e.Name.isEmpty() ? text : e.Name.left(200) + QStringLiteral(", ") + text);
        FShown[static_cast<size_t>(i)] = e;
    }
    FSwatches->setUpdatesEnabled(true);
    Select(std::min(keep, FModel->Count() - 1));
    ShowSelected();
}

int TPaletteWindow::Selected() const
{
    return FSwatches->currentRow();
}

void TPaletteWindow::Select(int index)
{
    if (index < 0 && FModel->Count() > 0)
        index = 0;
    FSwatches->setCurrentRow(index);
}

void TPaletteWindow::ShowSelected()
{
    const int i = Selected();
    const bool any = i >= 0 && i < FModel->Count();
    const TPaletteEntry *e = any ? &FModel->Palette().Entries[static_cast<size_t>(i)] : nullptr;
    FEntryName->setEnabled(any);
    FEntryName->setText(e ? e->Name : QString());
    FEntryText->setText(e ? ExactColourText(e->Colour) : QStringLiteral("The palette is empty."));
}

void TPaletteWindow::AddCurrent()
{
    if (!FActions.Current)
        return;
    const TExactColour c = FActions.Current();
    if (FModel->Add({{QString(), c}}))
        Select(FModel->Count() - 1);
}

void TPaletteWindow::RemoveSelected()
{
    const int i = Selected();
    FModel->Remove(i);
    Select(std::min(i, FModel->Count() - 1));
}

void TPaletteWindow::MoveSelected(int delta)
{
    const int i = Selected();
    if (FModel->Move(i, i + delta))
        Select(i + delta);
}

void TPaletteWindow::ChooseSelected()
{
    const int i = Selected();
    if (i >= 0 && i < FModel->Count() && FActions.Choose)
        FActions.Choose(FModel->Palette().Entries[static_cast<size_t>(i)].Colour);
}

void TPaletteWindow::MakeIntoPalette()
{
    if (!FActions.Current)
        return;
    const TExactColour current = FActions.Current();
    const int choice = FMake->currentIndex();
    const TGamut gamut = FGamut->currentIndex() == 1 ? TGamut::DisplayP3 : TGamut::Srgb;
    TPalette made;
    if (choice == ScaleChoice) {
        made = MakeScale(current, gamut);
    } else if (choice <= static_cast<int>(HarmonyInfos().size())) {
        made = MakeHarmony(HarmonyInfos()[static_cast<size_t>(choice - 1)].Harmony, current, gamut);
    } else {
        TGradientPlan plan;
        plan.Steps = FSteps->value();
        const auto read = ReadInterpolation(FSpace->currentText(), plan);
        const auto steps = read ? MakeGradient(current, FActions.Comparison ? FActions.Comparison() : current, *read) : std::nullopt;
        if (!steps)
            return;
        made = *steps;
    }
    const int first = FModel->Count();
    if (FModel->Add(made.Entries) == 0)
        Fail(QStringLiteral("The palette holds %1 colours, as many as it can.").arg(TPaletteModel::Limit));
    else
        Select(first);
}

bool TPaletteWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FSwatches && event->type() == QEvent::KeyPress) {
        const auto *e = static_cast<QKeyEvent *>(event);
        const bool ctrl = e->modifiers() & Qt::ControlModifier;
        switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space: ChooseSelected(); return true;
        case Qt::Key_Delete: RemoveSelected(); return true;
        case Qt::Key_F2: FEntryName->setFocus(Qt::ShortcutFocusReason); FEntryName->selectAll(); return true;
        case Qt::Key_Left:
        case Qt::Key_Up:
            if (ctrl) {
                MoveSelected(-1);
                return true;
            }
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            if (ctrl) {
                MoveSelected(1);
                return true;
            }
            break;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TPaletteWindow::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape && ImageRunning()) {
        CancelImage();
        return;
    }
    QWidget::keyPressEvent(e);
}

void TPaletteWindow::Fail(const QString &message)
{
    if (FActions.Fail)
        FActions.Fail(message);
}
