#include "app/ColorDrop.h"

#include "app/ColorSwatch.h"

#include <QApplication>
#include <QColor>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QWidget>

#include <cstring>

namespace {

const QString XColorMime = QStringLiteral("application/x-color");

// A 16-bit channel of application/x-color as a byte. Senders write their colour truncated to the
// 16-bit step below it (a channel of 0.5 arrives as 0x7FFF), so the middle of that step is
// rounded to the nearest byte, halves up: 0x7FFF gives 0x80, and the 0x8080 that Qt writes for
// 0x80 reads back as 0x80, as every byte does.
int XColorChannel(quint16 v)
{
    return static_cast<int>(((2 * static_cast<quint32>(v) + 1) * 255 + 65535) / 131070);
}

// The raw form of application/x-color between programs: four 16-bit channels, red first.
std::optional<TRgb8> RawXColor(const QByteArray &bytes)
{
    if (bytes.size() != 8)
        return std::nullopt;
    quint16 channel[4];
    std::memcpy(channel, bytes.constData(), sizeof channel);
    return TRgb8{XColorChannel(channel[0]), XColorChannel(channel[1]), XColorChannel(channel[2])};
}

} // namespace

std::unique_ptr<QMimeData> ColorMimeData(TColor color)
{
    auto data = std::make_unique<QMimeData>();
    const QColor c = ToQColor(color);
    data->setColorData(c);
    data->setText(HtmlColorText(color));
    return data;
}

std::optional<TTakenColor> ColorFromMime(const QMimeData *data)
{
    if (!data)
        return std::nullopt;
    if (data->hasColor()) {
        // The raw channels first: Qt may also offer them converted, through a text, into a colour
        // that is not valid.
        if (const auto c = RawXColor(data->data(XColorMime)))
            return TTakenColor{TExactColour::FromRgb8(*c), false};
        const QVariant v = data->colorData();
        if (v.metaType() == QMetaType::fromType<QColor>()) {
            const QColor c = v.value<QColor>();
            if (c.isValid()) {
                const QColor rgb = c.toRgb();
                return TTakenColor{TExactColour::FromRgb8({rgb.red(), rgb.green(), rgb.blue()}), false};
            }
        }
    }
    if (data->hasText()) {
        const QString text = data->text();
        if (const auto reading = ReadExactColour(text))
            return TTakenColor{reading->Colour, reading->Mapped};
    }
    return std::nullopt;
}

TColorDrop::TColorDrop(QWidget *target, std::function<TColor()> current, std::function<void(const TTakenColor &)> take)
    : QObject(target), FTarget(target), FCurrent(std::move(current)), FTake(std::move(take))
{
    target->setAcceptDrops(true);
    target->installEventFilter(this);
}

void TColorDrop::StartDrag()
{
    auto *drag = new QDrag(FTarget);
    drag->setMimeData(ColorMimeData(FCurrent()).release());
    drag->exec(Qt::CopyAction);
}

bool TColorDrop::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != FTarget)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *e = static_cast<QMouseEvent *>(event);
        if (e->button() == Qt::LeftButton)
            FPressAt = e->position().toPoint();
        break;
    }
    case QEvent::MouseMove: {
        const auto *e = static_cast<QMouseEvent *>(event);
        if (FPressAt && (e->buttons() & Qt::LeftButton)
            && (e->position().toPoint() - *FPressAt).manhattanLength() >= QApplication::startDragDistance()) {
            FPressAt.reset();
            StartDrag();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        FPressAt.reset();
        break;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *e = static_cast<QDragMoveEvent *>(event);
        if (ColorFromMime(e->mimeData())) {
            e->setDropAction(Qt::CopyAction);
            e->accept();
        } else {
            e->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto *e = static_cast<QDropEvent *>(event);
        if (const auto color = ColorFromMime(e->mimeData())) {
            e->setDropAction(Qt::CopyAction);
            e->accept();
            FTake(*color);
        } else {
            e->ignore();
        }
        return true;
    }
    default:
        break;
    }
    return false;
}
