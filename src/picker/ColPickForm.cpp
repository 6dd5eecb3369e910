#include "picker/ColPickForm.h"

#include "framework/Fonts.h"
#include "framework/NumberText.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace {

QColor Plain(TColor c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

} // namespace

TColorPickerForm::TColorPickerForm(QWidget *parent, TDisplayFormatSource display)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      FDisplay(display ? std::move(display) : TDisplayFormatSource(ScreenDisplayFormat))
{
    setWindowTitle(QStringLiteral("Color Picker"));
    setFixedSize(439, 313);
    setFont(MakeFont(QStringLiteral("Times New Roman"), 12));
    setAutoFillBackground(true);
    CreateControls();
    ApplyPalette();
    FormCreate();
}

TColorPickerForm::~TColorPickerForm() = default;

void TColorPickerForm::FormCreate()
{
    FPalette.fill(0);
    FSelected = 0;
    GetShape->SetBrushColor(Plain(FPalette[0]));
    SetHSBEdits(RGBToHSB(FPalette[0]));
    FFieldBitmap = QImage(ColorListPaintBox->size(), QImage::Format_RGB32);
    FFieldBitmap.fill(Qt::black);
    FFieldIdle = true;
    // Known from the start, so the first render already takes the buffered path.
    DetectPixelFormat();
}

void TColorPickerForm::FormShow()
{
    OKBtn->setFocus();
}

void TColorPickerForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    FormShow();
}

void TColorPickerForm::paintEvent(QPaintEvent *event)
{
    DetectPixelFormat();
    QDialog::paintEvent(event);
}

void TColorPickerForm::SetPaletteColor(int index, TColor value)
{
    if (index >= 0 && index < PaletteCellCount)
        FPalette[static_cast<std::size_t>(index)] = ColorToRGB(value);
}

TColor TColorPickerForm::PaletteColor(int index) const
{
    return index >= 0 && index < PaletteCellCount ? FPalette[static_cast<std::size_t>(index)] : 0;
}

void TColorPickerForm::SetColorSwitch(TColorSwitch mode)
{
    switch (mode) {
    case csHue:
    case csSaturation:
    case csBrightness:
        FadeRadioGroup->SetItemIndex(static_cast<int>(mode) - static_cast<int>(csHue));
        ColorRadioGroup->SetItemIndex(-1);
        break;
    case csBlue:
    case csGreen:
    case csRed:
        FadeRadioGroup->SetItemIndex(-1);
        ColorRadioGroup->SetItemIndex(static_cast<int>(csRed) - static_cast<int>(mode));
        break;
    }
}

TColorSwitch TColorPickerForm::GetColorSwitch() const
{
    const int fade = FadeRadioGroup->ItemIndex();
    if (fade >= 0)
        return static_cast<TColorSwitch>(static_cast<int>(csHue) + fade);
    const int primary = ColorRadioGroup->ItemIndex();
    if (primary >= 0)
        return static_cast<TColorSwitch>(static_cast<int>(csRed) - primary);
    return csHue;
}

bool TColorPickerForm::ShowPicker()
{
    PreparePicker();
    return exec() == QDialog::Accepted;
}

void TColorPickerForm::PreparePicker()
{
    FColor = ColorToRGB(FColor);
    FSelected = -1;
    for (int i = 0; i < PaletteCellCount; ++i)
        if (FPalette[static_cast<std::size_t>(i)] == FColor)
            FSelected = i;
    if (FSelected < 0) {
        FPalette[PaletteCellCount - 1] = FColor;
        FSelected = PaletteCellCount - 1;
    }
    FPaletteCursor = FSelected;
    GetShape->SetBrushColor(Plain(FColor));
    UpdateControls(ucAll);
}

TPickerValues TColorPickerForm::Values() const
{
    TPickerValues v;
    v.Hue = UHEd->Tag;
    v.Saturation = USEd->Tag;
    v.Brightness = UBEd->Tag;
    v.Red = RedEd->Tag;
    v.Green = GreenEd->Tag;
    v.Blue = BlueEd->Tag;
    v.Color = CurrentColor();
    return v;
}

void TColorPickerForm::SetCurrentColor(TColor value)
{
    FPalette[static_cast<std::size_t>(FSelected)] = value;
}

void TColorPickerForm::SetHSBEdits(THSB value)
{
    UHEd->Tag = HSBHue(value);
    UHEd->setText(IntToStr(HueToDegrees(UHEd->Tag)));
    USEd->Tag = HSBSaturation(value);
    USEd->setText(IntToStr(LevelToPercent(USEd->Tag)));
    UBEd->Tag = HSBBrightness(value);
    UBEd->setText(IntToStr(LevelToPercent(UBEd->Tag)));
}

void TColorPickerForm::UpdateControls(TUpdateCode code)
{
    const TColor c = CurrentColor();
    if (code != ucFieldRGB) {
        const struct {
            TRawEdit *edit;
            int value;
            TUpdateCode skip;
        } components[] = {{BlueEd, GetBValue(c), ucBlue}, {GreenEd, GetGValue(c), ucGreen}, {RedEd, GetRValue(c), ucRed}};
        for (const auto &component : components) {
            if (code == component.skip)
                continue;
            component.edit->setText(IntToStr(component.value));
            component.edit->Tag = StrToIntDef(component.edit->text(), 0);
        }
    }
    if (code != ucHue && code != ucSaturation && code != ucBrightness && code != ucFieldHSB)
        SetHSBEdits(RGBToHSB(c));
    GetShape->SetBrushColor(Plain(c));
    ColCelPaintBox->update();
    GradPaintBox->update();
    if (code == ucFieldRGB || code == ucFieldHSB) {
        if (!FRendering)
            ColorListPaintBoxPaint(nullptr);
    } else if (!FRendering) {
        ColListPaintTimer->start();
    } else {
        FFieldIdle = true; // the running render starts over
    }
}

void TColorPickerForm::FadeRadioGroupClick()
{
    const int index = FadeRadioGroup->ItemIndex();
    if (index < 0)
        return;
    SetColorSwitch(static_cast<TColorSwitch>(static_cast<int>(csHue) + index));
    UpdateControls(ucMode);
}

void TColorPickerForm::ColorRadioGroupClick()
{
    const int index = ColorRadioGroup->ItemIndex();
    if (index < 0)
        return;
    SetColorSwitch(static_cast<TColorSwitch>(static_cast<int>(csRed) - index));
    UpdateControls(ucMode);
}

// Typed values above their range are clamped (255 for a component) before they are packed,
// so a value never runs into the next channel.
void TColorPickerForm::ColorEdKeyUp(TRawEdit *sender)
{
    int values[3];
    TRawEdit *edits[3] = {RedEd, GreenEd, BlueEd};
    for (int i = 0; i < 3; ++i) {
        values[i] = StrToIntDef(edits[i]->text(), -1);
        if (values[i] < 0)
            return;
    }
    for (int i = 0; i < 3; ++i)
        edits[i]->Tag = std::min(values[i], 255);
    SetCurrentColor(BlueEd->Tag * 65536 + GreenEd->Tag * 256 + RedEd->Tag);
    UpdateControls(sender == RedEd ? ucRed : sender == GreenEd ? ucGreen : ucBlue);
}

// Only the edit typed into gets a new raw value; degrees are clamped to 360 and percent to
// 100 first.
void TColorPickerForm::HSBEdKeyUp(TRawEdit *sender)
{
    TRawEdit *edits[3] = {UHEd, USEd, UBEd};
    int own = 0;
    for (TRawEdit *edit : edits) {
        const int value = StrToIntDef(edit->text(), -1);
        if (value < 0)
            return;
        if (edit == sender)
            own = value;
    }
    TUpdateCode code;
    if (sender == UHEd) {
        UHEd->Tag = DegreesToHue(std::min(own, 360));
        code = ucHue;
    } else if (sender == USEd) {
        USEd->Tag = PercentToLevel(std::min(own, 100));
        code = ucSaturation;
    } else if (sender == UBEd) {
        UBEd->Tag = PercentToLevel(std::min(own, 100));
        code = ucBrightness;
    } else {
        return;
    }
    SetCurrentColor(HSBToRGB(PackHSB(UHEd->Tag, USEd->Tag, UBEd->Tag)));
    UpdateControls(code);
}

void TColorPickerForm::ColCelPaintBoxMouseDown(Qt::MouseButton button, int x, int y)
{
    // Cells share their outline pixels; the later cell (right or below) wins.
    int hit = -1;
    for (int i = 0; i < PaletteCellCount; ++i) {
        const int left = (i % PaletteColumns) * PaletteCellStep;
        const int top = (i / PaletteColumns) * PaletteCellStep;
        if (x >= left && x < left + PaletteCellSize && y >= top && y < top + PaletteCellSize)
            hit = i;
    }
    if (hit < 0 || hit == FSelected)
        return;
    if (button == Qt::LeftButton) {
        FSelected = hit;
        FPaletteCursor = hit;
        UpdateControls(ucAll);
    } else if (button == Qt::RightButton) {
        FPalette[static_cast<std::size_t>(hit)] = CurrentColor();
        UpdateControls(ucAll);
    }
}

void TColorPickerForm::ColCelPaintBoxMouseMove(Qt::MouseButtons buttons, int x, int y)
{
    if (buttons & Qt::LeftButton)
        ColCelPaintBoxMouseDown(Qt::LeftButton, x, y);
}

void TColorPickerForm::GradPaintBoxMouseDown(Qt::MouseButton button, int, int y)
{
    const TColorSwitch mode = GetColorSwitch();
    const int h = GradPaintBox->height();
    y = std::clamp(y, 0, h - 1);
    const int hsb[3] = {UHEd->Tag, USEd->Tag, UBEd->Tag};
    const int rgb[3] = {BlueEd->Tag, GreenEd->Tag, RedEd->Tag};
    int newHsb[3] = {hsb[0], hsb[1], hsb[2]};
    int newRgb[3] = {rgb[0], rgb[1], rgb[2]};
    if (button == Qt::LeftButton) {
        const int value = StripClickValue(mode, y, h);
        switch (mode) {
        case csHue: newHsb[0] = value; break;
        case csSaturation: newHsb[1] = value; break;
        case csBrightness: newHsb[2] = value; break;
        case csBlue: newRgb[0] = value; break;
        case csGreen: newRgb[1] = value; break;
        case csRed: newRgb[2] = value; break;
        }
    }
    TColor c = CurrentColor();
    if (!std::equal(hsb, hsb + 3, newHsb))
        c = HSBToRGB(PackHSB(newHsb[0], newHsb[1], newHsb[2]));
    if (!std::equal(rgb, rgb + 3, newRgb))
        c = newRgb[0] * 65536 + newRgb[1] * 256 + newRgb[2];

    const struct {
        TRawEdit *edit;
        int raw;
        int shown;
        TUpdateCode code;
    } order[] = {
        {UHEd, newHsb[0], HueToDegrees(newHsb[0]), ucHue},
        {UBEd, newHsb[2], LevelToPercent(newHsb[2]), ucBrightness},
        {USEd, newHsb[1], LevelToPercent(newHsb[1]), ucSaturation},
        {BlueEd, newRgb[0], newRgb[0], ucBlue},
        {GreenEd, newRgb[1], newRgb[1], ucGreen},
        {RedEd, newRgb[2], newRgb[2], ucRed},
    };
    for (const auto &q : order) {
        if (q.edit->Tag == q.raw)
            continue;
        SetCurrentColor(c);
        q.edit->Tag = q.raw;
        q.edit->setText(IntToStr(q.shown));
        UpdateControls(q.code);
        return;
    }
}

void TColorPickerForm::GradPaintBoxMouseMove(Qt::MouseButtons buttons, int x, int y)
{
    if (buttons & Qt::LeftButton)
        GradPaintBoxMouseDown(Qt::LeftButton, x, std::clamp(y, 0, GradPaintBox->height() - 1));
}

void TColorPickerForm::ColorListPaintBoxMouseDown(Qt::MouseButton, int x, int y)
{
    const int w = ColorListPaintBox->width();
    const int h = ColorListPaintBox->height();
    x = std::clamp(x, 0, w - 1);
    y = std::clamp(y, 0, h - 1);
    const TColorSwitch mode = GetColorSwitch();
    const TPickerValues v = Values();
    const TColor c = FieldColor(mode, v, x, y, w, h);
    SetCurrentColor(c);
    if (IsHSBMode(mode)) {
        SetHSBEdits(FieldHSB(mode, v, x, y, w, h));
        UpdateControls(ucFieldHSB);
    } else {
        BlueEd->Tag = GetBValue(c);
        GreenEd->Tag = GetGValue(c);
        RedEd->Tag = GetRValue(c);
        for (TRawEdit *edit : {BlueEd, GreenEd, RedEd})
            edit->setText(IntToStr(edit->Tag));
        UpdateControls(ucFieldRGB);
    }
}

void TColorPickerForm::ColorListPaintBoxMouseMove(Qt::MouseButtons buttons, int x, int y)
{
    if (buttons & Qt::LeftButton)
        ColorListPaintBoxMouseDown(Qt::LeftButton, x, y);
}

void TColorPickerForm::OKBtnClick()
{
    if (!FRendering) {
        FColor = CurrentColor();
        done(QDialog::Accepted);
        return;
    }
    FOKCancelAction = 0;
    OKCancelTimer->start();
}

void TColorPickerForm::CancelBtnClick()
{
    if (!FRendering) {
        done(QDialog::Rejected);
        return;
    }
    FOKCancelAction = 1;
    OKCancelTimer->start();
}

void TColorPickerForm::OKCancelTimerTimer()
{
    OKCancelTimer->stop();
    if (FOKCancelAction == 0)
        OKBtnClick();
    else
        CancelBtnClick();
}

void TColorPickerForm::reject()
{
    CancelBtnClick();
}
