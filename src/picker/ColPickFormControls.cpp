#include "picker/ColPickForm.h"

#include "framework/Fonts.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

// The picker window's controls: where each one stands, its caption and font, the tab order and
// which handler each event reaches.

namespace {

QFrame *MakeLoweredPanel(QWidget *parent, int x, int y, int w, int h)
{
    auto *panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setGeometry(x, y, w, h);
    return panel;
}

TRawEdit *MakeEdit(QWidget *parent, int x, int y)
{
    auto *edit = new TRawEdit(parent);
    edit->setGeometry(x, y, 41, 20);
    edit->setText(QStringLiteral("0"));
    return edit;
}

// The window's palette: the theme's button face as the window colour, its window text colour
// for the texts, and every other role as the application has it. One palette for every
// opening, built again only when the application's palette changes, with every role set so
// that handing it to a widget takes it as it is. The style keeps the pixmaps it draws buttons,
// frames and radio items with under the palette's identity; with a new palette for every window
// each opening would leave a new set of them (some 12 kB) behind in that cache.
const QPalette &PickerPalette()
{
    static QPalette palette;
    static qint64 builtFrom = 0;
    static bool built = false;
    const QPalette application = QApplication::palette();
    if (!built || application.cacheKey() != builtFrom) {
        QPalette p = application;
        for (int group = 0; group < QPalette::NColorGroups; ++group)
            for (int role = 0; role < QPalette::NColorRoles; ++role) {
                const auto g = static_cast<QPalette::ColorGroup>(group);
                const auto r = static_cast<QPalette::ColorRole>(role);
                p.setBrush(g, r, application.brush(g, r));
            }
        p.setColor(QPalette::Window, ToQColor(clBtnFace));
        p.setColor(QPalette::WindowText, ToQColor(clWindowText));
        palette = p;
        builtFrom = application.cacheKey();
        built = true;
    }
    return palette;
}

} // namespace

void TColorPickerForm::CreateControls()
{
    Bevel1 = new QFrame(this);
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(8, 270, 129, 39);

    GetShape = new TShape(this);
    GetShape->setGeometry(12, 282, 121, 22);
    GetShape->SetBrushColor(ToQColor(clBlue));
    GetShape->SetPenColor(ToQColor(clBtnHighlight));

    Label1 = new QLabel(QStringLiteral("select color"), this);
    Label1->move(16, 268);
    Label1->adjustSize();

    GradPanel = MakeLoweredPanel(this, 144, 8, 25, 258);
    GradPaintBox = new TPaintBox(GradPanel);
    GradPaintBox->setGeometry(1, 1, StripWidth, StripHeight);

    FadeRadioGroup = new TRadioGroup(QStringLiteral("coloring"), {QStringLiteral("H [360 ]"), QStringLiteral("S [%]"), QStringLiteral("B [%]")}, this, 15, 21);
    FadeRadioGroup->setGeometry(8, 4, 129, 81);
    FadeRadioGroup->SetItemIndex(0);
    ColorRadioGroup = new TRadioGroup(QStringLiteral("primary"), {QStringLiteral("red"), QStringLiteral("green"), QStringLiteral("blue")}, this, 12, 22);
    ColorRadioGroup->setGeometry(8, 88, 129, 83);
    ColorRadioGroup->SetItemIndex(-1);

    RedEd = MakeEdit(this, 88, 100);
    GreenEd = MakeEdit(this, 88, 122);
    BlueEd = MakeEdit(this, 88, 144);
    USEd = MakeEdit(this, 88, 40);
    UBEd = MakeEdit(this, 88, 61);
    UHEd = MakeEdit(this, 88, 19);

    ColorPanel = new QGroupBox(QStringLiteral("temporary palette"), this);
    ColorPanel->setGeometry(8, 176, 129, 89);
    ColCelPaintBox = new TPaintBox(ColorPanel);
    ColCelPaintBox->setGeometry(8, 16, 113, 65);

    OKBtn = new QPushButton(QStringLiteral("O K"), this);
    OKBtn->setGeometry(268, 280, 80, 24);
    OKBtn->setFont(MakeFont(QStringLiteral("Times New Roman"), 13));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setGeometry(352, 280, 80, 24);
    CancelBtn->setAutoDefault(false);

    ColorListPanel = MakeLoweredPanel(this, 176, 8, 258, 258);
    ColorListPaintBox = new TPaintBox(ColorListPanel);
    ColorListPaintBox->setGeometry(1, 1, FieldWidth, FieldHeight);

    ColListPaintTimer = new QTimer(this);
    ColListPaintTimer->setInterval(1);
    ColListPaintTimer->setSingleShot(true);
    OKCancelTimer = new QTimer(this);
    OKCancelTimer->setInterval(100);
    OKCancelTimer->setSingleShot(true);

    ColorListPaintBox->SetKeyHandler([this](QKeyEvent *e) { return ColorListPaintBoxKeyDown(e); });
    GradPaintBox->SetKeyHandler([this](QKeyEvent *e) { return GradPaintBoxKeyDown(e); });
    ColCelPaintBox->SetKeyHandler([this](QKeyEvent *e) { return ColCelPaintBoxKeyDown(e); });
    QWidget *order[] = {OKBtn, CancelBtn, UHEd, USEd, UBEd, RedEd, GreenEd, BlueEd,
                        FadeRadioGroup->Item(0), FadeRadioGroup->Item(1), FadeRadioGroup->Item(2),
                        ColorRadioGroup->Item(0), ColorRadioGroup->Item(1), ColorRadioGroup->Item(2),
                        ColorListPaintBox, GradPaintBox, ColCelPaintBox};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    FadeRadioGroup->OnClick = [this] { FadeRadioGroupClick(); };
    ColorRadioGroup->OnClick = [this] { ColorRadioGroupClick(); };
    for (TRawEdit *edit : {RedEd, GreenEd, BlueEd})
        edit->OnKeyUp = [this](TRawEdit *sender) { ColorEdKeyUp(sender); };
    for (TRawEdit *edit : {UHEd, USEd, UBEd})
        edit->OnKeyUp = [this](TRawEdit *sender) { HSBEdKeyUp(sender); };
    ColCelPaintBox->OnPaint = [this](QPainter &p) { PaintPalette(p); };
    ColCelPaintBox->OnMouseDown = [this](Qt::MouseButton b, int x, int y) { ColCelPaintBoxMouseDown(b, x, y); };
    ColCelPaintBox->OnMouseMove = [this](Qt::MouseButtons b, int x, int y) { ColCelPaintBoxMouseMove(b, x, y); };
    GradPaintBox->OnPaint = [this](QPainter &p) { PaintStrip(p); };
    GradPaintBox->OnMouseDown = [this](Qt::MouseButton b, int x, int y) { GradPaintBoxMouseDown(b, x, y); };
    GradPaintBox->OnMouseMove = [this](Qt::MouseButtons b, int x, int y) { GradPaintBoxMouseMove(b, x, y); };
    ColorListPaintBox->OnPaint = [this](QPainter &p) { PaintField(p); };
    ColorListPaintBox->OnMouseDown = [this](Qt::MouseButton b, int x, int y) { ColorListPaintBoxMouseDown(b, x, y); };
    ColorListPaintBox->OnMouseMove = [this](Qt::MouseButtons b, int x, int y) { ColorListPaintBoxMouseMove(b, x, y); };
    NameControls();
    connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });
    connect(ColListPaintTimer, &QTimer::timeout, this, [this] { ColListPaintTimerTimer(); });
    connect(OKCancelTimer, &QTimer::timeout, this, [this] { OKCancelTimerTimer(); });
}

void TColorPickerForm::NameControls()
{
    // Each edit by the mode choice beside it.
    UHEd->setAccessibleName(QStringLiteral("Hue, degrees"));
    USEd->setAccessibleName(QStringLiteral("Saturation %"));
    UBEd->setAccessibleName(QStringLiteral("Brightness %"));
    RedEd->setAccessibleName(QStringLiteral("Red 0-255"));
    GreenEd->setAccessibleName(QStringLiteral("Green 0-255"));
    BlueEd->setAccessibleName(QStringLiteral("Blue 0-255"));
    GetShape->setAccessibleName(QStringLiteral("Preview"));
    Bevel1->setAccessibleName(QStringLiteral("Preview frame"));
    GradPanel->setAccessibleName(QStringLiteral("Strip frame"));
    ColorListPanel->setAccessibleName(QStringLiteral("Field frame"));
    GradPaintBox->setAccessibleName(QStringLiteral("Colour strip"));
    ColorListPaintBox->setAccessibleName(QStringLiteral("Colour field"));
    ColCelPaintBox->setAccessibleName(QStringLiteral("Temporary palette"));
    // The mode choices and OK by what they mean, their captions' letters first.
    FadeRadioGroup->Item(0)->setAccessibleName(QStringLiteral("H: hue, 0-360 degrees"));
    FadeRadioGroup->Item(1)->setAccessibleName(QStringLiteral("S: saturation, 0-100%"));
    FadeRadioGroup->Item(2)->setAccessibleName(QStringLiteral("B: brightness, 0-100%"));
    OKBtn->setAccessibleName(QStringLiteral("OK"));
}

void TColorPickerForm::ApplyPalette()
{
    // Every control gets the palette itself: one that inherited it would be given a copy of
    // its own, with a new identity again.
    const QPalette &palette = PickerPalette();
    setPalette(palette);
    for (QWidget *child : findChildren<QWidget *>())
        child->setPalette(palette);
}
