#pragma once

#include "picker/ColorSpace.h"
#include "picker/ColorSwitch.h"
#include "picker/PickerControls.h"
#include "picker/PickerField.h"

#include <QDialog>
#include <QImage>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

class QFrame;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QPushButton;
class QTimer;

// What changed before a refresh of the picker window's controls.
enum TUpdateCode {
    ucAll = 0,
    ucMode = 2,
    ucRed = 3,
    ucGreen = 4,
    ucBlue = 5,
    ucFieldRGB = 6,
    ucHue = 7,
    ucSaturation = 8,
    ucBrightness = 9,
    ucFieldHSB = 10,
};

constexpr int PaletteCellCount = 28;
// The palette cells: 7 to a row, 16 pixels apart and 17 square, so neighbours share an outline.
constexpr int PaletteColumns = 7;
constexpr int PaletteCellStep = 16;
constexpr int PaletteCellSize = 17;

// The colour picker window: a slider strip and a colour field in six modes, edits for red,
// green, blue and hue, saturation, brightness, 28 palette cells and a preview.
//
// How the dialog component drives one opening:
//   1. construct the window (its palette starts all black, cell 0 selected);
//   2. SetPaletteColor(i, c) for the 28 cells (plain colours; resolve theme colours first),
//      setWindowTitle(caption), SetColorSwitch(mode), SetColor(colour);
//   3. ShowPicker() runs the window modally and returns true for OK (false for Cancel, Escape
//      or the close box);
//   4. after true: PaletteColor(i) for the 28 cells, Color() for the chosen colour and
//      GetColorSwitch() for the mode in force.
// PreparePicker() does step 3 without the modal loop, for callers that show the window
// themselves (open(), show()); result() then tells OK (Accepted) from Cancel.
class TColorPickerForm : public QDialog {
public:
    // display: where the display's depth and pixel format come from; the screen by default.
    explicit TColorPickerForm(QWidget *parent = nullptr, TDisplayFormatSource display = {});
    ~TColorPickerForm() override;

    void SetPaletteColor(int index, TColor value);
    TColor PaletteColor(int index) const;
    void SetColor(TColor value) { FColor = value; }
    TColor Color() const { return FColor; }
    int Selected() const { return FSelected; }

    void SetColorSwitch(TColorSwitch mode);
    TColorSwitch GetColorSwitch() const;

    bool ShowPicker();
    void PreparePicker();

    // The refresh protocol: every change of the current colour or the mode ends here.
    void UpdateControls(TUpdateCode code);

    // Event handlers, reachable for tests and measurements.
    void FadeRadioGroupClick();
    void ColorRadioGroupClick();
    void ColorEdKeyUp(TRawEdit *sender);
    void HSBEdKeyUp(TRawEdit *sender);
    void ColCelPaintBoxMouseDown(Qt::MouseButton button, int x, int y);
    void ColCelPaintBoxMouseMove(Qt::MouseButtons buttons, int x, int y);
    void GradPaintBoxMouseDown(Qt::MouseButton button, int x, int y);
    void GradPaintBoxMouseMove(Qt::MouseButtons buttons, int x, int y);
    void ColorListPaintBoxMouseDown(Qt::MouseButton button, int x, int y);
    void ColorListPaintBoxMouseMove(Qt::MouseButtons buttons, int x, int y);
    // Keys of the field, the strip and the palette: each acts as the mouse at the position the
    // key moves to. True when the key was the control's.
    bool ColorListPaintBoxKeyDown(QKeyEvent *event);
    bool GradPaintBoxKeyDown(QKeyEvent *event);
    bool ColCelPaintBoxKeyDown(QKeyEvent *event);
    // The palette cell the keys act on (the selected cell until they move away from it).
    int PaletteCursor() const { return FPaletteCursor; }
    // The centre of a palette cell in the palette's coordinates, where a click selects it.
    static QPoint CellCentre(int index);
    void OKBtnClick();
    void CancelBtnClick();
    void OKCancelTimerTimer();
    void ColListPaintTimerTimer();
    // With a sender: re-render the field, then draw it. Without: draw the stored image and
    // the marker only.
    void ColorListPaintBoxPaint(QObject *sender);
    void DetectPixelFormat();

    // Painting into any painter (the controls' paint handlers use these).
    void PaintPalette(QPainter &painter) const;
    void PaintStrip(QPainter &painter);
    void PaintField(QPainter &painter) const;

    // The values the strip and the field read: the edits' raw values and the current colour.
    TPickerValues Values() const;
    TColor CurrentColor() const { return FPalette[static_cast<std::size_t>(FSelected)]; }
    // Where the field's marker stands for the current values and mode.
    QPoint MarkerPos() const;
    const QImage &FieldBitmap() const { return FFieldBitmap; }
    // The field at the display's resolution when that is not one device pixel per pixel (null
    // otherwise), made with every render.
    const QImage &FieldDeviceBitmap() const { return FFieldDevice; }
    // Device pixels per window pixel of the display the field is shown on.
    qreal FieldRatio() const;
    bool FieldIdle() const { return FFieldIdle; }
    bool Rendering() const { return FRendering; }
    int RenderPasses() const { return FRenderPasses; }
    const TPixelFormat &PixelFormat() const { return FPixelFormat; }

    // Controls, named as the window's description names them.
    QFrame *Bevel1;
    TShape *GetShape;
    QLabel *Label1;
    QFrame *GradPanel;
    TPaintBox *GradPaintBox;
    TRadioGroup *FadeRadioGroup;
    TRadioGroup *ColorRadioGroup;
    TRawEdit *RedEd;
    TRawEdit *GreenEd;
    TRawEdit *BlueEd;
    TRawEdit *USEd;
    TRawEdit *UBEd;
    TRawEdit *UHEd;
    QGroupBox *ColorPanel;
    TPaintBox *ColCelPaintBox;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
    QFrame *ColorListPanel;
    TPaintBox *ColorListPaintBox;
    QTimer *ColListPaintTimer;
    QTimer *OKCancelTimer;

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    // Escape and the close box arrive here; they count as Cancel.
    void reject() override;

private:
    void CreateControls();
    // Names for screen readers where no caption says what a control is.
    void NameControls();
    // The button face behind the window, the window text colour for its texts.
    void ApplyPalette();
    void FormCreate();
    void FormShow();
    void SetCurrentColor(TColor value);
    void SetHSBEdits(THSB value);
    void RenderBuffered();
    // Row by row with a dither, letting events run after each row. False when the window was
    // destroyed meanwhile.
    bool RenderDithered();

    std::array<TColor, PaletteCellCount> FPalette{};
    int FSelected = 0;
    int FPaletteCursor = 0;
    TColor FColor = 0;
    bool FFieldIdle = true;
    bool FRendering = false;
    int FRenderPasses = 0;
    int FOKCancelAction = 0;
    QImage FFieldBitmap;
    QImage FFieldDevice;
    TPixelFormat FPixelFormat;
    qreal FDisplayRatio = 0;
    TDisplayFormatSource FDisplay;
    std::vector<std::uint32_t> F32;
    std::vector<std::uint8_t> F24;
    std::vector<std::uint16_t> F16;
    std::minstd_rand FDither;
};
