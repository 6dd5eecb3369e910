#pragma once

#include "framework/AppHints.h"
#include "framework/Colors.h"
#include "framework/Component.h"

#include <QFont>
#include <QPolygon>
#include <QRegion>

#include <array>
#include <functional>

class QPainter;

enum THintStyle { hsFukidashi, hsRoundRect, hsLineString, hsOwnerDraw };

// The hint font: a face, a character height in pixels, a style and a colour. Every change runs
// OnChange.
class THintFont {
public:
    THintFont();

    QString Name() const { return FFont.family(); }
    void SetName(const QString &value);
    // Character height in pixels; a negative value means the same as its magnitude.
    int Height() const { return FFont.pixelSize(); }
    void SetHeight(int value);
    bool Bold() const { return FFont.bold(); }
    void SetBold(bool value);
    bool Italic() const { return FFont.italic(); }
    void SetItalic(bool value);
    bool Underline() const { return FFont.underline(); }
    void SetUnderline(bool value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    // Copies face, height, style and colour; runs OnChange once when anything differed.
    void Assign(const THintFont &source);
    void Assign(const QFont &font, TColor color);

    const QFont &Font() const { return FFont; }
    std::function<void()> OnChange;

private:
    void Changed();
    QFont FFont;
    TColor FColor = clWindowText;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

struct THintBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
};

struct THintPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
};

// Handler that draws an owner-drawn hint: the text, the window's canvas and its size in pixels.
using THintPaintEvent = std::function<void(const QString &hintStr, QPainter &canvas, int width, int height)>;
using TShowHintEvent = std::function<void(QString &hintStr, bool &canShow, THintInfo &hintInfo)>;

// The application hint manager: placed once, it makes every tool tip of the application show in
// THintEx and carries that window's look. The most recently created manager is the active one.
class TAppHintN : public TComponent {
public:
    // `application` is the hint machinery to restyle; the application's own when omitted.
    explicit TAppHintN(TComponent *owner = nullptr, TApplicationHints *application = nullptr);
    ~TAppHintN() override;
    QString ClassName() const override { return QStringLiteral("TAppHintN"); }

    // The manager the hint windows read from; nullptr when there is none.
    static TAppHintN *Active();

    // Once the manager's settings are in place: installs THintEx again and routes the
    // application's hint events to this manager.
    void Loaded();

    TColor BGColor = clBlack;
    THintBrush Brush{clNavy, bsSolid};
    THintPen Pen;
    TColor ShadowColor = clBlue;
    bool ShadowVisible = true;

    const THintFont &Font() const { return FFont; }
    THintFont &Font() { return FFont; }
    void SetFont(const THintFont &value) { FFont.Assign(value); }

    THintStyle HintStyle() const { return FHintStyle; }
    void SetHintStyle(THintStyle value);

    int HintPause() const { return FApplication->HintPause(); }
    void SetHintPause(int ms) { FApplication->SetHintPause(ms); }
    int HintHidePause() const { return FApplication->HintHidePause(); }
    void SetHintHidePause(int ms) { FApplication->SetHintHidePause(ms); }
    int HintShortPause() const { return FApplication->HintShortPause(); }
    void SetHintShortPause(int ms) { FApplication->SetHintShortPause(ms); }

    std::function<void(QObject *sender)> OnHint;
    THintPaintEvent OnPaint;
    TShowHintEvent OnShowHint;

    void DoHint(QObject *sender);
    void DoShowHint(QString &hintStr, bool &canShow, THintInfo &hintInfo);

    TApplicationHints &Application() const { return *FApplication; }

private:
    void FontChanged();
    // Makes THintEx the hint window class and has the application create a new one.
    void InstallHintWindow();

    TApplicationHints *FApplication;
    THintFont FFont;
    THintStyle FHintStyle = hsFukidashi;
};

// ---- hint shapes (window pixels, relative to the window's top-left corner) ----

// The balloon's region corners P0 to P6 for a window body w wide and h high (tail included).
std::array<QPoint, 7> BalloonRegionPoints(int w, int h);
// The balloon's outline P0 to P7.
std::array<QPoint, 8> BalloonOutlinePoints(int w, int h);
// A rounded rectangle covering [0, w) x [0, h) with a corner ellipse ew by eh, as row spans.
QRegion RoundRectRegion(int w, int h, int ew, int eh);
// The pixels on the edge of a region: inside it, with a 4-neighbour outside.
QRegion RegionEdge(const QRegion &region);
// The underline stroke of the line style for a hint rectangle w by h: (1, 1), (17, h - 2), (w, h - 2).
std::array<QPoint, 3> LineStrokePoints(int w, int h);

// What ActivateHint makes of the rectangle it is given for one style.
struct THintShape {
    QRect Rect;            // the rectangle after the style's enlargement
    bool HasRegion = false;
    QRegion Region;        // window region
    bool SetsHintRect = false;
    bool SetsPoints = false;
    std::array<QPoint, 8> Points{};
};
THintShape HintShapeFor(THintStyle style, QRect rect);

// Where the caption is drawn for a style: the shadow offsets in drawing order, then the text's.
struct TTextPlacement {
    std::vector<QPoint> Shadow;
    QPoint Text;
};
TTextPlacement HintTextPlacement(THintStyle style);

// The hint window of an active TAppHintN: a speech balloon, a rounded rectangle, an underlined
// text or an owner-drawn rectangle, painted with the manager's brush, font, pen and shadow.
class THintEx : public THintWindow {
    Q_OBJECT
public:
    THintEx();
    ~THintEx() override;

    void ActivateHint(QRect rect, const QString &hint) override;

    QRect HintRect;
    bool HasRegion() const { return FHasRegion; }
    const QRegion &Region() const { return FRegion; }
    std::array<QPoint, 8> Points{};

protected:
    void EraseBackground(QPainter &canvas) override;
    void Paint(QPainter &canvas) override;
    bool WantsScreenUnderlay() const override;

private:
    void ReleaseRegion();
    void DrawCaption(QPainter &canvas, QPoint offset, TColor color);

    bool FHasRegion = false;
    QRegion FRegion;
};
