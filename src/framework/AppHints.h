#pragma once

#include "framework/Colors.h"

#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class QPainter;

// What the application knows about the hint it is about to show. The show-hint event may change
// any of it.
struct THintInfo {
    QWidget *HintControl = nullptr;
    // Screen position of the hint window's top-left corner.
    QPoint HintPos;
    // Width at which the hint text is word-wrapped.
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    // Mouse position in the hint control's coordinates.
    QPoint CursorPos;
    // How long the hint stays, in ms.
    int HideTimeout = 0;
};

// The hint window of the framework: a borderless pop-up that never takes input or focus, with a
// caption and a colour. It paints into an image, the background first, then the caption.
// Descendants give it a shape and their own painting.
// A hint shows at most this many characters, then an ellipsis: a field's whole text can be its
// hint, and a megabyte of it fills no screen but takes a second to measure.
constexpr qsizetype MaxHintLength = 4096;
QString ShownHint(const QString &hint);

class THintWindow : public QWidget {
    Q_OBJECT
public:
    THintWindow();
    ~THintWindow() override;

    const QString &Caption() const { return FCaption; }
    TColor Color() const { return FColor; }
    void SetColor(TColor value);

    // The rectangle a hint text needs at (0, 0): its word-wrapped extent at maxWidth in the
    // window's font, plus 6 pixels in width and 2 in height.
    virtual QRect CalcHintRect(int maxWidth, const QString &hint) const;
    // Shows `hint` at `rect` (screen pixels, right and bottom exclusive as width and height say).
    virtual void ActivateHint(QRect rect, const QString &hint);

    // What the window shows: background and painting, as one image the size of the window, with
    // `ratio` device pixels per window pixel (the screen's when the window paints itself).
    QImage RenderImage(qreal ratio = 1.0);
    // The screen content under the window, captured just before it was last shown (null when the
    // window did not ask for it or the platform cannot read the screen).
    const QPixmap &ScreenUnderlay() const { return FUnderlay; }
    // Whether the window is inside its own painting, where it must not be destroyed.
    bool Painting() const { return FPainting; }
    // Reads the screen under a rectangle (screen pixels); the primary screen's content unless replaced.
    std::function<QPixmap(QRect)> GrabScreen;

protected:
    // The framework's way of showing a hint: caption, 4 more rows at the bottom, bounds, kept on
    // the desktop, shown on top without activation, repainted.
    void ShowHintAt(QRect rect, const QString &hint);
    // Fills the background with the window colour.
    virtual void EraseBackground(QPainter &canvas);
    // Draws the caption at (2, 2) in the hint text colour.
    virtual void Paint(QPainter &canvas);
    // Whether ShowHintAt should keep a copy of the screen under the window.
    virtual bool WantsScreenUnderlay() const { return false; }

    void paintEvent(QPaintEvent *) override;

private:
    QString FCaption;
    TColor FColor = clInfoBk;
    QPixmap FUnderlay;
    bool FPainting = false;
};

// Moves a hint window rectangle onto the desktop: up when its bottom passes the desktop's, left
// when its right edge does, right when its left edge lies left of the desktop's.
QRect KeepHintOnDesktop(QRect rect, QRect desktop);

// The screen area that hints are kept on: the virtual desktop of the primary screen.
QRect HintDesktopRect();

// The screen content under a rectangle (screen pixels); null where the platform cannot read it.
QPixmap GrabScreenArea(QRect rect);

// How far below the mouse position a hint starts: the height of the pointer image below its hot
// spot, or that of a standard arrow when the image cannot be examined.
int PointerDrop(const QCursor &cursor);

// The application's hint machinery: which control is under the mouse, the three pauses, the
// replaceable hint window class, the hint-changed and show-hint events. Installed on the running
// application as an event filter, it takes over every tool tip (the toolkit's own tool tips never
// show) and shows them in its hint window.
class TApplicationHints : public QObject {
    Q_OBJECT
public:
    using THintWindowClass = std::function<THintWindow *()>;

    // `install` false leaves the application's events alone (for tests that drive the machinery).
    explicit TApplicationHints(bool install = true);
    ~TApplicationHints() override;

    // The application's own hint machinery, created on first use.
    static TApplicationHints &Application();

    int HintPause() const { return FHintPause; }
    void SetHintPause(int ms) { FHintPause = ms; }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int ms) { FHintHidePause = ms; }
    int HintShortPause() const { return FHintShortPause; }
    void SetHintShortPause(int ms) { FHintShortPause = ms; }
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor value) { FHintColor = value; }

    // Switching hints off frees the hint window (any shown hint disappears); switching them on
    // creates a new one of the current hint window class.
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    // Takes effect when the hint window is next created; empty for the framework's own window.
    void SetHintWindowClass(THintWindowClass windowClass) { FHintWindowClass = std::move(windowClass); }
    THintWindow *HintWindow() const { return FHintWindow; }

    // The hint text of the control under the mouse; empty when it has none.
    const QString &Hint() const { return FHint; }
    // Runs whenever Hint changes.
    std::function<void(TApplicationHints *sender)> OnHint;
    // Runs before a hint shows; it may change the text, veto the hint or change the info.
    std::function<void(QString &hintStr, bool &canShow, THintInfo &hintInfo)> OnShowHint;

    // Where the mouse is (screen pixels); the pointer's position unless replaced.
    std::function<QPoint()> CursorPos;
    // Given to every hint window this machinery creates; the real screen unless replaced.
    std::function<QPixmap(QRect)> GrabScreen;

    // The mouse is over `control` (nullptr: over no window of the application).
    void HintMouseMessage(QWidget *control);
    // The hint pause has run out: show the hint of the control under the mouse.
    void HintTimerTick();
    // The hide pause has run out: the hint disappears until the mouse moves to another control.
    void HideTimerTick();
    // Hides the hint and forgets the control (a click, a key, the window losing the focus).
    void CancelHint();
    void HideHint();
    // Shows the hint of the current hint control now, at the mouse position `cursorPos`.
    void ActivateHint(QPoint cursorPos);

    QWidget *HintControl() const { return FHintControl; }
    bool HintActive() const { return FHintActive; }
    const QTimer &HintTimer() const { return FHintTimer; }
    const QTimer &HideTimer() const { return FHideTimer; }

    // The control that shows the hint of `widget`: itself or the nearest parent within its window
    // that has a tool tip; nullptr when none has.
    static QWidget *HintControlOf(QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateHintWindow();
    void FreeHintWindow();
    void StartHintTimer(int ms);
    // Enter and leave events come in bursts; the control under the mouse is decided after them.
    void NoteControlUnderMouse(QWidget *control);

    int FHintPause = 500;
    int FHintHidePause = 2500;
    int FHintShortPause = 50;
    TColor FHintColor = clInfoBk;
    bool FShowHint = true;
    THintWindowClass FHintWindowClass;
    THintWindow *FHintWindow = nullptr;
    QPointer<QWidget> FHintControl;
    bool FHintActive = false;
    QString FHint;
    QTimer FHintTimer;
    QTimer FHideTimer;
    QPointer<QWidget> FPendingControl;
    bool FPendingScheduled = false;
    bool FInstalled = false;
};
