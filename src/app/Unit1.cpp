#include "app/Unit1.h"

#include "app/ColorSwatch.h"
#include "app/ColourState.h"
#include "app/Escapes.h"
#include "app/Notations.h"
#include "app/NotationsWindow.h"
#include "app/PickAnywhere.h"
#include "app/PickAsShown.h"
#include "app/PovGamma.h"
#include "app/RandomColor.h"
#include "app/Restore.h"
#include "desktop/Desktop.h"
#include "desktop/SettingsPath.h"
#include "framework/Dispatch.h"
#include "framework/FlatEdit.h"
#include "framework/Fonts.h"
#include "framework/NumberText.h"
#include "settings/RegMng.h"
#include "widgets/LCBox.h"
#include "widgets/ShineSpdBtn.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QMouseEvent>

#include <limits>

namespace {

constexpr TColor DefaultColor = 13743512; // $00D1B598
constexpr TColor FieldBackground = 0x00ECEEE6;

void SetTextColor(QWidget *w, TColor color)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, ToQColor(color));
    w->setPalette(pal);
}

} // namespace

TForm1::TForm1(const TForm1Env &env, QWidget *parent) : QWidget(parent), FEnv(env)
{
    InstallWindowAccessible();
    FColour = new TColourState(this);
    SetName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Pigmora"));
    setFont(DefaultWindowFont());
    // Fixed light faces and backgrounds: the theme colours come from the light palette whatever
    // the desktop's, and every control inherits it.
    QPalette pal = LightPalette();
    pal.setColor(QPalette::Window, ToQColor(0x00ECEEE6));
    pal.setColor(QPalette::WindowText, ToQColor(clWindowText, pal));
    setPalette(pal);
    setAutoFillBackground(true);
    resize(390, 357);
    move(344, 223);

    auto button = [this](const char *name, int l, int t, int w, int h, const QString &caption,
                         void (TForm1::*handler)(), const QString &hint = {}) {
        auto *b = new TShineSpeedButton(this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(l, t, w, h);
        b->SetCaption(caption);
        if (!hint.isEmpty())
            b->setToolTip(hint);
        b->OnClick = [this, handler] { Command(handler); };
        FButtonCommands.emplace_back(b, handler);
        return b;
    };
    auto label = [this](const char *name, int l, int t, int w, int h, const QString &caption) {
        auto *lb = new QLabel(caption, this);
        lb->setObjectName(QLatin1String(name));
        lb->setGeometry(l, t, w, h);
        lb->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return lb;
    };
    auto edit = [this](const char *name, int l, int t, int w, int h, TColor background) {
        auto *e = new TFlatEdit(background, this);
        e->setObjectName(QLatin1String(name));
        e->setGeometry(l, t, w, h);
        // No field cuts a long text (an edit holds 32,767 characters unless told otherwise).
        e->setMaxLength(std::numeric_limits<int>::max());
        return e;
    };
    const QFont rowTitleFont = MakeFont(QStringLiteral("Times New Roman"), 13, true);

    RGBButton = button("RGBButton", 16, 97, 75, 23, QStringLiteral("rgb"), &TForm1::RGBButtonClick, QStringLiteral("POV-ray"));
    RGBFButton = button("RGBFButton", 16, 127, 75, 24, QStringLiteral("rgbf"), &TForm1::RGBFButtonClick, QStringLiteral("rgb + filter"));
    ExitButton = button("ExitButton", 296, 245, 72, 25, QStringLiteral("Exit"), &TForm1::ExitButtonClick);
    Label1 = new TColorSwatch(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(296, 79, 72, 153);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setAutoFillBackground(true);
    OpenButton = button("OpenButton", 17, 13, 122, 22, QStringLiteral("Open(windows)"), &TForm1::OpenButtonClick);
    Label2 = label("Label2", 246, 104, 24, 13, QStringLiteral("Red"));
    Label3 = label("Label3", 245, 135, 40, 13, QStringLiteral("Green"));
    Label4 = label("Label4", 246, 167, 29, 13, QStringLiteral("Blue"));
    for (QLabel *l : {Label2, Label3, Label4})
        l->setFont(rowTitleFont);
    SetTextColor(Label2, clRed);
    SetTextColor(Label3, clGreen);
    SetTextColor(Label4, clBlue);
    DelphiButton = button("DelphiButton", 16, 218, 75, 24, QStringLiteral("Delphi"), &TForm1::DelphiButtonClick);
    HtmlButton = button("HtmlButton", 16, 248, 75, 24, QStringLiteral("HTML"), &TForm1::HtmlButtonClick);
    Label7 = label("Label7", 296, 18, 0, 0, {});
    Label7->setToolTip(QStringLiteral("Blue x65536 + Green x256 + Red"));
    Label10 = label("Label10", 38, 73, 36, 15, QStringLiteral("Copy"));
    Label10->setFont(MakeFont(QStringLiteral("Times New Roman"), 15, true));
    SetTextColor(Label10, clGray);
    FhotoButton = button("FhotoButton", 146, 13, 102, 22, QStringLiteral("(Photoshop)"), &TForm1::PhotoButtonClick);
    AboutButton = button("AboutButton", 241, 76, 41, 16, QStringLiteral("about"), &TForm1::AboutButtonClick);
    RestoreButton = button("RestoreButton", 296, 47, 71, 21, QStringLiteral("restore"), &TForm1::RestoreButtonClick);
    ClearButton = button("ClearButton", 257, 15, 34, 20, QStringLiteral("clear"), &TForm1::ClearButtonClick);
    Re_DeButton = button("Re_DeButton", 240, 224, 39, 17, QStringLiteral("BGR"), &TForm1::Re_DeButtonClick, QStringLiteral("restore"));
    Re_HtButton = button("Re_HtButton", 240, 251, 39, 17, QStringLiteral("RGB"), &TForm1::Re_HtButtonClick, QStringLiteral("restore"));
    Re_PerButton = button("Re_PerButton", 109, 75, 53, 17, QStringLiteral("0-100%"), &TForm1::Re_PerButtonClick, QStringLiteral("restore"));
    Re_RgbButton = button("Re_RgbButton", 171, 75, 54, 17, QStringLiteral("0-255"), &TForm1::Re_RgbButtonClick, QStringLiteral("restore"));
    RGBTButton = button("RGBTButton", 16, 159, 75, 24, QStringLiteral("rgbt"), &TForm1::RGBTButtonClick, QStringLiteral("rgb + transmit"));
    RepreButton = button("RepreButton", 170, 191, 56, 20, QStringLiteral("repre"), &TForm1::RepreButtonClick, QStringLiteral("representation"));
    RandomButton1 = button("RandomButton1", 236, 193, 21, 20, QStringLiteral("ra1"), &TForm1::RandomButton1Click, QStringLiteral("RandomColor"));
    RandomButton2 = button("RandomButton2", 262, 193, 21, 20, QStringLiteral("ra2"), &TForm1::RandomButton2Click, QStringLiteral("Quiet_RandomColor"));
    KanjiButton = button("KanjiButton", 16, 282, 75, 24, QStringLiteral("J to Hex"), &TForm1::KanjiButtonClick, QStringLiteral("Japanese to UTF-8N & Copy"));
    UniCodeButton = button("UniCodeButton", 16, 312, 75, 24, QStringLiteral("restore"), &TForm1::UniCodeButtonClick, QStringLiteral("Povray Hex to Japanese"));
    Edit1 = edit("Edit1", 107, 98, 56, 21, clWindow);
    Edit2 = edit("Edit2", 107, 130, 56, 21, clWindow);
    Edit3 = edit("Edit3", 107, 162, 56, 21, clWindow);
    Edit4 = edit("Edit4", 107, 221, 120, 21, clWindow);
    Edit5 = edit("Edit5", 107, 250, 120, 21, clWindow);
    Edit6 = edit("Edit6", 171, 98, 56, 21, clWindow);
    Edit7 = edit("Edit7", 171, 130, 56, 21, clWindow);
    Edit8 = edit("Edit8", 171, 162, 56, 21, clWindow);
    PovEdit = edit("PovEdit", 16, 46, 270, 21, FieldBackground);
    LCheckBox = new TLozengeCheckBox(this);
    LCheckBox->setObjectName(QStringLiteral("LCheckBox"));
    LCheckBox->setGeometry(13, 190, 77, 16);
    LCheckBox->SetCaption(QStringLiteral("pigment"));
    LCheckBox->setToolTip(QStringLiteral("pigment{ }"));
    LCheckBox->OnClick = [this] { Command(&TForm1::LCheckBoxClick); };
    FTEdit = edit("FTEdit", 108, 190, 56, 21, FieldBackground);
    FTEdit->setText(QStringLiteral("0"));
    FTEdit->setToolTip(QStringLiteral("0.0-1.0  filter or transmit"));
    KanjiEdit = edit("KanjiEdit", 107, 283, 261, 21, FieldBackground);
    UniCodeEdit = edit("UniCodeEdit", 107, 314, 261, 21, FieldBackground);
    KanjiEdit->installEventFilter(this);
    UniCodeEdit->installEventFilter(this);

    // Row by row, left to right, as the fields stand on the window.
    QWidget *tabOrder[] = {PovEdit, Edit1, Edit6, Edit2, Edit7, Edit3, Edit8,
                           LCheckBox, FTEdit, Edit4, Edit5, KanjiEdit, UniCodeEdit};
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    // Non-visual components. The named references follow a component that a stored image replaces.
    TColorDialog::RegisterClass();
    TColorPickerDialog::RegisterClass();
    DeclareReference(QStringLiteral("ColorDialog"), ColorDialog);
    DeclareReference(QStringLiteral("ColorPickerDialog"), ColorPickerDialog);
    auto *colorDialog = new TColorDialog(this);
    colorDialog->SetName(QStringLiteral("ColorDialog"));
    colorDialog->Color = DefaultColor;
    colorDialog->Options = OptionBit(cdFullOpen) | OptionBit(cdSolidColor);
    colorDialog->Ctl3D = true;
    auto *picker = new TColorPickerDialog(this);
    picker->SetName(QStringLiteral("ColorPickerDialog"));
    picker->SetColor(DefaultColor);
    picker->DesignLeft = 280;
    picker->DesignTop = 104;
    ApplyLook();
    RegManager1 = new TRegManager(this, *FEnv.Messages);
    RegManager1->SetName(QStringLiteral("RegManager1"));
    RegManager1->RegType = rtIni;
    AddForm1RegItems(*RegManager1->RegItems());
    AddSrgbRegItem(*RegManager1->RegItems());
    AddNotationsRegItems(*RegManager1->RegItems());
    AddPaletteRegItems(*RegManager1->RegItems());
    AddPaletteWindowRegItems(*RegManager1->RegItems());
    AddAsShownRegItem(*RegManager1->RegItems());
    AddAverageRegItem(*RegManager1->RegItems());
    AddAnywhereRegItems(*RegManager1->RegItems());
    CreateCommands();
    CreateKeyboardCommands();
    CreateAnywhereCommands();
    NameControls();

    FormCreate();
    FColour->Start(TExactColour::FromRgb8(ShownRgb(fMyColor)));
    if (!FEnv.IniFileName.isEmpty())
        RunCommand(*FEnv.Messages, [this] { LoadExactSetting(); });
    FColour->Render = [this](TColor color) { SetColor(color); };
    connect(this, &TForm1::ColorRendered, FColour, [this] { FColour->Follow(ShownRgb(fMyColor)); });
}

TForm1::~TForm1() = default;

void TForm1::FormCreate()
{
    // Qt widgets always paint through an off-screen buffer: nothing to switch on.
    fMyColor = DefaultColor;
    fRR.clear();
    fGG.clear();
    fBB.clear();
    fColorText.clear();
    fRgbfText.clear();
    fRgbtText.clear();
    fRestoreText.clear();
    fFilterText = QStringLiteral("0");

    if (!FEnv.IniFileName.isEmpty())
        RunCommand(*FEnv.Messages, [this] { LoadSettings(); });
    // The components may have been replaced by stored ones: hand the new instances their runners.
    ColorDialog->Runner = FEnv.ColorDialogRunner;
    ColorPickerDialog->Runner = FEnv.PickerRunner;
    ColorPickerDialog->ScreenPick = [this](QWidget *window, std::function<void(TColor)> taken) {
        ScreenPicker().Pick(window, std::move(taken));
    };

    SetSwatchColor(fMyColor);
    ColorDialog->Color = fMyColor;
}

void TForm1::LoadSettings()
{
    RegManager1->IniFileName = FEnv.IniFileName;
    RegManager1->Filer(QStringLiteral("ColorDialogComponent"))->ReadComponent(ColorDialog);
    RegManager1->Filer(QStringLiteral("ColorPickerDialogComponent"))->ReadComponent(ColorPickerDialog);
    const int top = RegManager1->Filer(QStringLiteral("Form1Top"))->ReadInteger();
    const int left = RegManager1->Filer(QStringLiteral("Form1Left"))->ReadInteger();
    if (FEnv.PlacesWindows.value_or(PlatformPlacesWindows(QGuiApplication::platformName())))
        move(OnSomeScreen(QPoint(left, top)));
    else
        FStoredPos = QPoint(left, top);
    fMyColor = RegManager1->Filer(QStringLiteral("fMyColor"))->ReadInteger();
    for (int n = 16; n <= 26; ++n)
        ColorPickerDialog->SetTemporaryPalette(
            n, RegManager1->Filer(QStringLiteral("TemporaryPalette%1").arg(n))->ReadInteger());
    LoadSrgbSetting();
    LoadNotationsSettings();
    LoadPaletteSettings();
    LoadAsShownSetting();
    LoadAverageSetting();
    LoadPaletteWindowSettings();
    LoadAnywhereSettings();
}

bool ShownOnSomeScreen(const QRect &frame)
{
    for (const QScreen *screen : QGuiApplication::screens())
        if (screen->availableVirtualGeometry().intersects(frame))
            return true;
    return false;
}

QPoint TForm1::OnSomeScreen(QPoint stored) const
{
    // A position no screen shows (a hand-edited file, a monitor since removed) would leave the
    // window out of reach; it opens at the default position instead.
    return ShownOnSomeScreen(QRect(stored, size())) ? stored : QPoint(100, 100);
}

void TForm1::FormCloseQuery()
{
    SettleJudge();
    if (FEnv.IniFileName.isEmpty())
        return;
    if (!FEnv.IniStoreFileName.isEmpty() && FEnv.IniStoreFileName != RegManager1->IniFileName) {
        CopyForStore(RegManager1->IniFileName, FEnv.IniStoreFileName);
        RegManager1->IniFileName = FEnv.IniStoreFileName;
    }
    // A write that fails is shown in the error box; the window closes all the same.
    RunCommand(*FEnv.Messages, [this] {
        RegManager1->Filer(QStringLiteral("ColorDialogComponent"))->WriteComponent(ColorDialog);
        RegManager1->Filer(QStringLiteral("ColorPickerDialogComponent"))->WriteComponent(ColorPickerDialog);
        const QPoint at = FStoredPos.value_or(pos());
        RegManager1->Filer(QStringLiteral("Form1Top"))->WriteInteger(at.y());
        RegManager1->Filer(QStringLiteral("Form1Left"))->WriteInteger(at.x());
        RegManager1->Filer(QStringLiteral("fMyColor"))->WriteInteger(fMyColor);
        for (int n = 16; n <= 26; ++n)
            RegManager1->Filer(QStringLiteral("TemporaryPalette%1").arg(n))
                ->WriteInteger(ColorPickerDialog->GetTemporaryPalette(n));
        StoreSrgbSetting();
        StoreNotationsSettings();
        StorePaletteSettings();
        StoreExactSetting();
        StoreAsShownSetting();
        StoreAverageSetting();
        StorePaletteWindowSettings();
        StoreAnywhereSettings();
    });
}

void TForm1::closeEvent(QCloseEvent *e)
{
    FormCloseQuery();
    e->accept();
}

void TForm1::Command(void (TForm1::*handler)())
{
    if (handler)
        RunCommand(*FEnv.Messages, [this, handler] { (this->*handler)(); });
}

void TForm1::SetSwatchColor(TColor color)
{
    Label1->SetColor(color);
}

TColor TForm1::SwatchColor() const
{
    return Label1->Color();
}

void TForm1::DoRGB()
{
    Label7->setText(IntToStr(fMyColor));
    Label7->adjustSize();
    fColorText = ColorToString(fMyColor);
    Edit4->setText(fColorText);
    Edit5->setText(ChangeColorF(fColorText));
    SetSwatchColor(fMyColor);
    repaint();
    emit ColorRendered();
    MyRGB();
}

void TForm1::MyRGB()
{
    if (fColorText.startsWith(QLatin1String("cl"))) {
        const QString hex = StandardColorHexText(fColorText);
        if (!hex.isEmpty())
            fColorText = hex;
    }
    if (fColorText.startsWith(QLatin1String("cl"))) {
        FEnv.Messages->ShowMessage(QStringLiteral("windows system color."));
        return;
    }

    fRR = fColorText.mid(7, 2);
    fGG = fColorText.mid(5, 2);
    fBB = fColorText.mid(3, 2);
    const int r = HexToInt(fRR), g = HexToInt(fGG), b = HexToInt(fBB);
    const int tr = ChannelTenths(r), tg = ChannelTenths(g), tb = ChannelTenths(b);

    Edit1->setText(FloatToStr(tr / 10.0));
    Edit2->setText(FloatToStr(tg / 10.0));
    Edit3->setText(FloatToStr(tb / 10.0));

    if (FTEdit->text().isEmpty())
        FTEdit->setText(QStringLiteral("0"));
    fFilterText = FTEdit->text();
    fFilterText = FilterValueText(fFilterText);

    const TPovValues pov{FloatToStr(tr / 1000.0), FloatToStr(tg / 1000.0), FloatToStr(tb / 1000.0)};
    const bool pigment = LCheckBox->Checked();
    PovEdit->setText(WithSrgb(PovNotation(QStringLiteral("rgb"), pov, {}, pigment), fSrgb));
    Edit6->setText(IntToStr(r));
    Edit7->setText(IntToStr(g));
    Edit8->setText(IntToStr(b));
    fRgbfText = WithSrgb(PovNotation(QStringLiteral("rgbf"), pov, fFilterText, pigment), fSrgb);
    fRgbtText = WithSrgb(PovNotation(QStringLiteral("rgbt"), pov, fFilterText, pigment), fSrgb);
    RGBFButton->setToolTip(fRgbfText);
    RGBTButton->setToolTip(fRgbtText);
}

void TForm1::OpenButtonClick()
{
    ColorDialog->Color = fMyColor;
    if (!ColorDialog->Execute())
        return;
    fMyColor = ColorDialog->Color;
    DoRGB();
}

void TForm1::AboutButtonClick()
{
    FEnv.Messages->ShowMessage(QStringLiteral("Pigmora ver1.11"));
}

void TForm1::ExitButtonClick()
{
    close();
}

// Selects the whole text as selectAll() does, without QLineEdit laying the text out again
// (a tenth of a second for a megabyte).
static void SelectWhole(QLineEdit *edit)
{
    edit->setSelection(0, static_cast<int>(edit->text().size()));
}

void TForm1::CopyField(QLineEdit *edit)
{
    if (edit->text().isEmpty())
        return;
    SelectWhole(edit);
    edit->copy();
}

void TForm1::PutOnClipboard(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

void TForm1::RGBButtonClick() { CopyField(PovEdit); }
void TForm1::DelphiButtonClick() { CopyField(Edit4); }
void TForm1::HtmlButtonClick() { CopyField(Edit5); }
void TForm1::RGBFButtonClick() { PutOnClipboard(fRgbfText); }
void TForm1::RGBTButtonClick() { PutOnClipboard(fRgbtText); }

void TForm1::InitPalette()
{
    static const TColor standard[16] = {clRed,  clLime, clBlue, clYellow, clAqua,   clFuchsia, clWhite, clMaroon,
                                        clGreen, clNavy, clOlive, clTeal, clPurple, clGray,    clSilver, clBlack};
    for (int i = 0; i < 16; ++i)
        ColorPickerDialog->SetTemporaryPalette(i, standard[i]);
    ColorPickerDialog->SetTemporaryPalette(27, fMyColor);
}

void TForm1::PhotoButtonClick()
{
    InitPalette();
    ColorPickerDialog->SetColor(fMyColor);
    if (!ColorPickerDialog->Execute())
        return;
    fMyColor = ColorPickerDialog->Color();
    DoRGB();
}

void TForm1::LCheckBoxClick()
{
    if (fMyColor != 0)
        DoRGB();
}

const TClock &TForm1::Clock() const
{
    static const TSystemClock systemClock;
    return FEnv.Clock ? *FEnv.Clock : systemClock;
}

void TForm1::ApplyRestore(const TFieldWrites &w)
{
    const auto put = [](QLineEdit *edit, const std::optional<QString> &text) {
        if (text)
            edit->setText(*text);
    };
    put(Edit1, w.Edit1);
    put(Edit2, w.Edit2);
    put(Edit3, w.Edit3);
    put(Edit6, w.Edit6);
    put(Edit7, w.Edit7);
    put(Edit8, w.Edit8);
    SetSwatchColor(w.MyColor);
    fMyColor = w.MyColor;
    if (w.Label7) {
        Label7->setText(*w.Label7);
        Label7->adjustSize();
    }
    put(Edit4, w.Edit4);
    put(Edit5, w.Edit5);
    if (w.ColorText)
        fColorText = *w.ColorText;
    put(PovEdit, w.PovEdit);
    if (w.RgbfText)
        fRgbfText = *w.RgbfText;
    emit ColorRendered();
}

void TForm1::SetColor(std::optional<TColor> color)
{
    if (!color)
        return;
    fMyColor = *color;
    DoRGB();
}

void TForm1::RestoreButtonClick()
{
    fRestoreText = PovEdit->text();
    if (const auto w = RestorePov(fRestoreText))
        ApplyRestore(*w);
}

void TForm1::Re_DeButtonClick()
{
    SetColor(RestoreConstant(Edit4->text()));
}

void TForm1::Re_HtButtonClick()
{
    SetColor(RestoreHtml(Edit5->text()));
}

void TForm1::Re_RgbButtonClick()
{
    SetColor(RestoreBytes(Edit6->text(), Edit7->text(), Edit8->text()));
}

void TForm1::Re_PerButtonClick()
{
    // Empty fields show the "0" they count as, whatever the tests below decide.
    for (QLineEdit *edit : {Edit1, Edit2, Edit3})
        edit->setText(PercentFieldText(edit->text()));
    if (auto w = RestorePercent(Edit1->text(), Edit2->text(), Edit3->text(), LCheckBox->Checked())) {
        w->PovEdit = WithSrgb(*w->PovEdit, fSrgb);
        w->RgbfText = WithSrgb(*w->RgbfText, fSrgb);
        ApplyRestore(*w);
    }
}

void TForm1::RandomButton1Click()
{
    TRandom random;
    random.Randomize(Clock());
    SetColor(AnyRandomColor(random));
}

void TForm1::RandomButton2Click()
{
    TRandom random;
    random.Randomize(Clock());
    SetColor(QuietRandomColor(random));
}

void TForm1::RepreButtonClick()
{
    if (fMyColor != 0)
        DoRGB();
}

void TForm1::ClearButtonClick()
{
    // setText, not clear(): clear() keeps one undo step per character of what it removes.
    for (QLineEdit *edit : {PovEdit, Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8})
        edit->setText(QString());
}

void TForm1::KanjiButtonClick()
{
    const QString text = KanjiEdit->text();
    KanjiEdit->setToolTip(PlatformRoundTrip(text));
    const QString escapes = TextToPovEscapes(text);
    UniCodeEdit->setText(escapes);
    UniCodeEdit->setToolTip(escapes);
    CopyField(UniCodeEdit);
}

void TForm1::UniCodeButtonClick()
{
    const QString escapes = UniCodeEdit->text();
    if (escapes.isEmpty() || !IsPovHx(escapes))
        return;
    const std::optional<QString> text = ChangeDelHex(escapes);
    if (!text)
        FEnv.Messages->ShowMessage(QStringLiteral("Err"));
    KanjiEdit->setText(text.value_or(QString()));
    KanjiEdit->setToolTip(KanjiEdit->text());
}

void TForm1::KanjiEditClick()
{
    SelectWhole(KanjiEdit);
}

void TForm1::UniCodeEditClick()
{
    SelectWhole(UniCodeEdit);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    // Only the user moving into the field converts: not the window coming back to the front,
    // nor the field's own context menu closing, which would overwrite the clipboard.
    if (watched == KanjiEdit && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            Command(&TForm1::KanjiButtonClick);
    }
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == KanjiEdit)
            Command(&TForm1::KanjiEditClick);
        else if (watched == UniCodeEdit)
            Command(&TForm1::UniCodeEditClick);
    }
    return QWidget::eventFilter(watched, event);
}
