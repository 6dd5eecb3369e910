#pragma once

#include "framework/Colors.h"
#include "framework/ShiftState.h"
#include "widgets/GlyphEffects.h"

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

class QAction;
class QPainter;

// Visual state of a shine button; the ordinal order matters (the first two are the down states).
enum TShineButtonState { sbHotDown, sbDown, sbHot, sbUp, sbDisabled };
enum TFrameType { ftFlatFrame, ftNormalFrame, ftEnclosedFrame };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// The colours of one group of button states. Every setter that changes a value, and every
// Assign, reports through OnChange.
class TShineBtnColors {
public:
    TShineBtnColors() = default;
    ~TShineBtnColors();
    TShineBtnColors(const TShineBtnColors &) = delete;
    TShineBtnColors &operator=(const TShineBtnColors &) = delete;

    TColor Color() const { return FColor; }
    void SetColor(TColor value) { Set(FColor, value); }
    TColor Highlight() const { return FHighlight; }
    void SetHighlight(TColor value) { Set(FHighlight, value); }
    TColor Shadow() const { return FShadow; }
    void SetShadow(TColor value) { Set(FShadow, value); }
    TColor DarkShadow() const { return FDarkShadow; }
    void SetDarkShadow(TColor value) { Set(FDarkShadow, value); }
    TColor GradColor() const { return FGradColor; }
    void SetGradColor(TColor value) { Set(FGradColor, value); }
    bool GradVertical() const { return FGradVertical; }
    void SetGradVertical(bool value) { Set(FGradVertical, value); }
    bool Gradation() const { return FGradation; }
    void SetGradation(bool value) { Set(FGradation, value); }

    // Copies all seven values from `source` and notifies, even when nothing differed.
    void Assign(const TShineBtnColors &source);
    // Copies all seven values into `dest`, which then notifies.
    void AssignTo(TShineBtnColors &dest) const;

    std::function<void(TShineBtnColors *)> OnChange;

private:
    template <class T>
    void Set(T &field, T value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }
    void Changed();

    TColor FColor = clBtnFace;
    TColor FHighlight = clBtnHighlight;
    TColor FShadow = clBtnShadow;
    TColor FDarkShadow = clWindowFrame;
    TColor FGradColor = clBlue;
    bool FGradVertical = false;
    bool FGradation = false;
};

// A caption font with its colour (Qt fonts carry none). Changes report through OnChange.
class TShineFont {
public:
    explicit TShineFont(TColor color = clBtnText) : FColor(color) {}
    TShineFont(const TShineFont &) = delete;
    TShineFont &operator=(const TShineFont &) = delete;

    const QFont &Get() const { return FFont; }
    void Set(const QFont &value);
    void Set(const QFont &value, TColor color);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    // Copies face and colour from `source` and notifies, even when nothing differed.
    void Assign(const TShineFont &source);

    std::function<void(TShineFont *)> OnChange;

private:
    void Changed();
    QFont FFont;
    TColor FColor;
};

// Result of the button layout: where the glyph goes and the rectangle the caption is drawn in.
struct TButtonLayoutResult {
    QPoint GlyphPos;
    QRect TextRect;
};

// Input of the button layout. `TextSize` is the measured caption (0 x 0 without one).
struct TButtonLayoutInput {
    QSize Client;
    QSize Glyph;
    QSize TextSize;
    bool HasCaption = false;
    TButtonLayout Layout = blGlyphLeft;
    int Margin = -1;
    int Spacing = 4;
    int AlMargin = -1;
};

// Places glyph and caption inside the client area: centred when Margin < 0, otherwise Margin
// pixels from the side the layout names. AlMargin >= 0 widens the caption rectangle to a fixed
// band so that the caption alignment acts inside it.
TButtonLayoutResult CalcButtonLayout(const TButtonLayoutInput &in);

// The face gradient from c1 to c2 over w x h: step i of N (rows when vertical, else columns)
// takes (c2 - c1) * i / N + c1 per channel, so the far edge stays one step short of c2.
QImage GradientFace(int w, int h, TColor c1, TColor c2, bool vertical);

// Which colour of a set a frame line is drawn in; Outline is the DarkShadow of the outline set.
enum class TFrameColor { Highlight, Shadow, DarkShadow, Outline };

// A frame line; a coordinate below 0 counts from the far edge (-1 is W - 1 or H - 1).
struct TFrameLine {
    TFrameColor Color;
    int X1, Y1, X2, Y2;
};

// The lines of one frame look in drawing order, end points excluded.
const std::vector<TFrameLine> &FrameLines(TFrameType type, bool down);

// What the button draws its glyph from in a state: a glyph image with its transparent key,
// or (disabled with the default look) a 1-bit edge mask drawn engraved.
struct TStateGlyph {
    QImage Image;
    std::uint32_t Key = 0;
    bool EdgeMask = false;
    bool IsNull() const { return Image.isNull(); }
};

// Makes command buttons known to screen readers (see ShineSpdBtnAccessible.cpp); every button
// does this when it is made.
void InstallShineButtonAccessible();

// The program's command button: a flat push button, optionally gradient-filled,
// with hover, pressed and latched looks, caption embossing and glyph light effects. It never
// takes the keyboard focus; it clicks on a left release over it and on its accelerator key.
class TShineSpeedButton : public QWidget {
    Q_OBJECT
public:
    using TMouseEvent = std::function<void(TShineSpeedButton *sender, Qt::MouseButton button, TShiftState shift, int x, int y)>;
    using TMouseMoveEvent = std::function<void(TShineSpeedButton *sender, TShiftState shift, int x, int y)>;

    explicit TShineSpeedButton(QWidget *owner = nullptr);
    ~TShineSpeedButton() override;

    QString Caption() const { return FCaption; }
    void SetCaption(const QString &value);

    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value) { SetAndRepaint(FShowAccelChar, value); }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value) { SetAndRepaint(FAlignment, value); }
    int AlMargin() const { return FAlMargin; }
    void SetAlMargin(int value) { SetAndRepaint(FAlMargin, value); }
    bool Down() const { return FDown; }
    void SetDown(bool value);
    bool ActionCheckedDown() const { return FActionCheckedDown; }
    void SetActionCheckedDown(bool value);
    bool ClickDownHook() const { return FClickDownHook; }
    void SetClickDownHook(bool value) { SetAndRepaint(FClickDownHook, value); }
    bool AccelCharDown() const { return FAccelCharDown; }
    void SetAccelCharDown(bool value) { SetAndRepaint(FAccelCharDown, value); }
    TFrameType FrameType() const { return FFrameType; }
    void SetFrameType(TFrameType value) { SetAndRepaint(FFrameType, value); }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value) { SetAndRepaint(FLayout, value); }
    int Margin() const { return FMargin; }
    void SetMargin(int value) { SetAndRepaint(FMargin, value); }
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value) { SetAndRepaint(FSpacing, value); }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool ActiveFrame() const { return FActiveFrame; }
    void SetActiveFrame(bool value) { SetAndRepaint(FActiveFrame, value); }
    bool UpFrame() const { return FUpFrame; }
    void SetUpFrame(bool value) { SetAndRepaint(FUpFrame, value); }
    bool DownFrame() const { return FDownFrame; }
    void SetDownFrame(bool value) { SetAndRepaint(FDownFrame, value); }
    TActiveImageType ActiveImage() const { return FActiveImage; }
    void SetActiveImage(TActiveImageType value) { SetAndRepaint(FActiveImage, value); }
    TDecorationImageType UpImage() const { return FUpImage; }
    void SetUpImage(TDecorationImageType value) { SetAndRepaint(FUpImage, value); }
    TDecorationImageType DownImage() const { return FDownImage; }
    void SetDownImage(TDecorationImageType value) { SetAndRepaint(FDownImage, value); }
    TDecorationImageType DisabledImage() const { return FDisabledImage; }
    void SetDisabledImage(TDecorationImageType value) { SetAndRepaint(FDisabledImage, value); }
    TColor DisabledHighlight() const { return FDisabledHighlight; }
    void SetDisabledHighlight(TColor value) { SetAndRepaint(FDisabledHighlight, value); }
    TColor DisabledShadow() const { return FDisabledShadow; }
    void SetDisabledShadow(TColor value) { SetAndRepaint(FDisabledShadow, value); }
    TColor ShineColor() const { return FShineColor; }
    void SetShineColor(TColor value) { SetAndRepaint(FShineColor, value); }
    // Stored and repainted even when equal to the current value.
    TColor FontHighlight() const { return FFontHighlight; }
    void SetFontHighlight(TColor value);
    TColor FontShadow() const { return FFontShadow; }
    void SetFontShadow(TColor value);
    bool ActiveColorsEnabled() const { return FActiveColorsEnabled; }
    void SetActiveColorsEnabled(bool value);

    // The owned colour sets and fonts: change them in place, or assign another one into them.
    TShineBtnColors &Colors() { return FColors; }
    TShineBtnColors &ActiveColors() { return FActiveColors; }
    TShineBtnColors &PressedColors() { return FPressedColors; }
    const TShineBtnColors &Colors() const { return FColors; }
    const TShineBtnColors &ActiveColors() const { return FActiveColors; }
    const TShineBtnColors &PressedColors() const { return FPressedColors; }
    void SetColors(const TShineBtnColors &value) { FColors.Assign(value); }
    void SetActiveColors(const TShineBtnColors &value) { FActiveColors.Assign(value); }
    void SetPressedColors(const TShineBtnColors &value) { FPressedColors.Assign(value); }
    TShineFont &Font() { return FFont; }
    TShineFont &ActiveFont() { return FActiveFont; }
    const TShineFont &Font() const { return FFont; }
    const TShineFont &ActiveFont() const { return FActiveFont; }
    // A null font is ignored.
    void SetFont(const TShineFont *value);
    void SetActiveFont(const TShineFont *value);

    // The glyph: a 1-bit image is kept as it is and expanded at paint time; any other image is
    // kept as 32-bit pixels. A null pointer empties the glyph.
    const QImage &Glyph() const { return FGlyph; }
    void SetGlyph(const QImage *value);
    void SetGlyph(const QImage &value) { SetGlyph(&value); }

    // An attached action is run by Click instead of OnClick and keeps caption, hint, enabled
    // and visible flags (and Down, with ActionCheckedDown on a checkable action) in step.
    QAction *Action() const { return FAction; }
    void SetAction(QAction *action);

    TShineButtonState State() const { return FState; }
    bool MouseInside() const { return FMouseInside; }
    bool MouseHeld() const { return FMouseHeld; }
    bool HoverPolling() const { return FHoverTimer.isActive(); }
    int HoverInterval() const { return FHoverTimer.interval(); }

    // Runs the click: OnClick (or the action), with the pressed look meanwhile under ClickDownHook.
    virtual void Click();
    // Handles an accelerator character; true when it was this button's and acted.
    bool DialogChar(QChar c);

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseEnter;
    TMouseMoveEvent OnMouseLeave;
    std::function<void(TShineSpeedButton *)> OnStateChange;

    // The drawing steps, in the order Paint runs them (exposed for composing onto other canvases).
    void Paint(QPainter &canvas);
    void PaintFace(QPainter &canvas);
    void PaintContent(QPainter &canvas);
    void PaintFrame(QPainter &canvas);
    TStateGlyph MakeStateGlyph() const;

protected:
    virtual void MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(Qt::MouseButton button, TShiftState shift, int x, int y);
    virtual void MouseEnter(TShiftState shift, int x, int y);
    virtual void MouseLeave(TShiftState shift, int x, int y);
    virtual void DblClick();
    virtual void ActionChange(QAction *action);

    void SetState(TShineButtonState state);
    // Re-checks which control is under the cursor and sends this button the matching
    // enter or leave notification.
    void SyncHover();
    void HoverTimerTick();
    void UpdateExclusive(int group);
    void GlyphChanged();

    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    // What a group member announces when it latches or changes its group settings.
    struct TGroupNotice {
        int Group;
        const TShineSpeedButton *Sender;
        bool Down;
        bool AllowAllUp;
    };
    void ButtonPressed(const TGroupNotice &notice);

    template <class T>
    void SetAndRepaint(T &field, T value)
    {
        if (field == value)
            return;
        field = value;
        update();
    }
    void RequestRepaint() { update(); }
    void UpdateAccelerator();
    void SendEnterNotify();
    void SendLeaveNotify();

    const TShineBtnColors &StateColors() const;
    const TShineBtnColors &OutlineColors() const;
    const TShineFont &StateFont() const;
    int TextFlags() const;

    QString FCaption;
    bool FShowAccelChar = true;
    TAlignment FAlignment = taCenter;
    int FAlMargin = -1;
    bool FDown = false;
    bool FActionCheckedDown = false;
    bool FClickDownHook = false;
    bool FAccelCharDown = false;
    TFrameType FFrameType = ftNormalFrame;
    bool FAllowAllUp = false;
    int FGroupIndex = 0;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    bool FTransparent = false;
    bool FActiveFrame = true;
    bool FUpFrame = true;
    bool FDownFrame = true;
    TActiveImageType FActiveImage = aiFrameLight;
    TDecorationImageType FUpImage = diDefault;
    TDecorationImageType FDownImage = diDefault;
    TDecorationImageType FDisabledImage = diDefault;
    TColor FDisabledShadow = clBtnShadow;
    TColor FDisabledHighlight = clBtnHighlight;
    TShineBtnColors FColors;
    TShineBtnColors FActiveColors;
    bool FActiveColorsEnabled = false;
    TShineBtnColors FPressedColors;
    TColor FShineColor = clYellow;
    TShineFont FFont{clBtnText};
    TColor FFontHighlight = clNone;
    TColor FFontShadow = clNone;
    TShineFont FActiveFont{clHighlight};
    QImage FGlyph;
    QPointer<QAction> FAction;

    bool FMouseInside = false;
    bool FMouseHeld = false;
    TShineButtonState FState = sbUp;
    QTimer FHoverTimer;
    int FShortcutId = 0;
};
