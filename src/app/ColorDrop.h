#pragma once

#include "colour/ExactColour.h"
#include "framework/Colors.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QMimeData;
class QWidget;

// What a drag from the swatch carries: the colour as application/x-color and the text #RRGGBB.
std::unique_ptr<QMimeData> ColorMimeData(TColor color);

// A colour taken from clipboard or drop data.
struct TTakenColor {
    TExactColour Colour;
    // Read from a text whose colour lies outside sRGB: its 8 bits are its sRGB fallback.
    bool Mapped = false;
};

// The colour that clipboard or drop data hold: its application/x-color colour when it has one,
// else its text read by ReadExactColour; nothing for anything else (images, binary data, text in
// no notation).
std::optional<TTakenColor> ColorFromMime(const QMimeData *data);

// Colour drag and drop on one widget: a left-button drag starts a drag of the current colour;
// a drop that ColorFromMime reads is taken, any other is refused (the drag cursor shows it).
class TColorDrop : public QObject {
    Q_OBJECT
public:
    TColorDrop(QWidget *target, std::function<TColor()> current, std::function<void(const TTakenColor &)> take);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void StartDrag();

    QWidget *FTarget;
    std::function<TColor()> FCurrent;
    std::function<void(const TTakenColor &)> FTake;
    std::optional<QPoint> FPressAt;
};
