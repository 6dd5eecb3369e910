// A long text in a flat edit: only the characters around the cursor are laid out, drawn and
// hit-tested. QLineEdit keeps the text, the cursor, the selection, the keys, the undo history and
// the context menu; here are its painting and its mouse mapping for texts it would measure whole.
#include "framework/FlatEdit.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionFrame>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <algorithm>

namespace {

// QLineEdit's own space between the text margins and the text.
constexpr int HorizontalMargin = 2;

// How many characters can fill a line this many pixels wide: no character is narrower than a
// pixel, save the zero-width ones, which at worst leave the end of the line empty.
qsizetype SpanFor(int width)
{
    return std::max(width, 64) + 16;
}

// The characters as QLineEdit shows them: controls and separators as spaces.
QString Displayed(QStringView text)
{
    QString shown = text.toString();
    for (QChar &c : shown)
        if ((c.unicode() < 0x20 && c != u'\t') || c == QChar::LineSeparator || c == QChar::ParagraphSeparator
            || c == QChar::ObjectReplacementCharacter)
            c = QLatin1Char(' ');
    return shown;
}

std::unique_ptr<QTextLayout> LayOut(QStringView text, const QFont &font, QPaintDevice *device)
{
    auto layout = std::make_unique<QTextLayout>(Displayed(text), font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    line.setPosition({0, 0});
    layout->endLayout();
    return layout;
}

} // namespace

struct TFlatEdit::TVisibleText {
    qsizetype From = 0;
    std::unique_ptr<QTextLayout> Layout;
    QPointF Origin;
};

QRect TFlatEdit::TextLine() const
{
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    const QRect r = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this).marginsRemoved(textMargins());
    const int h = fontMetrics().height();
    return {r.x() + HorizontalMargin, r.y() + (r.height() - h + 1) / 2, r.width() - 2 * HorizontalMargin, h};
}

// Moves the first drawn character so that the cursor is in view: to the cursor when it went
// left of the view, or so that it stands at the right edge when it went past it.
void TFlatEdit::KeepCursorInView(const QString &text) const
{
    const qsizetype length = text.size(), cursor = cursorPosition();
    const int width = TextLine().width();
    const qsizetype span = SpanFor(width);
    FFirst = std::clamp<qsizetype>(FFirst, 0, length);
    if (cursor < FFirst) {
        FFirst = cursor;
    } else if (cursor - FFirst > span
               || fontMetrics().horizontalAdvance(text.mid(FFirst, cursor - FFirst)) > width) {
        const qsizetype from = std::max<qsizetype>(0, cursor - span);
        const auto layout = LayOut(QStringView(text).mid(from, cursor - from), font(), const_cast<TFlatEdit *>(this));
        const QTextLine line = layout->lineAt(0);
        qsizetype first = from + line.xToCursor(line.naturalTextWidth() - width, QTextLine::CursorOnCharacter);
        while (first < cursor && line.cursorToX(static_cast<int>(cursor - from)) - line.cursorToX(static_cast<int>(first - from)) > width)
            ++first;
        FFirst = first;
    }
    if (FFirst > 0 && FFirst < length && text[FFirst].isLowSurrogate())
        ++FFirst;
}

qsizetype TFlatEdit::FirstVisible() const
{
    KeepCursorInView(text());
    return FFirst;
}

TFlatEdit::TVisibleText TFlatEdit::VisibleText() const
{
    const QString all = text();
    KeepCursorInView(all);
    TVisibleText v;
    v.From = FFirst;
    v.Layout = LayOut(QStringView(all).mid(FFirst, std::min(all.size() - FFirst, SpanFor(TextLine().width()))), font(),
                      const_cast<TFlatEdit *>(this));
    v.Origin = TextLine().topLeft();
    return v;
}

qsizetype TFlatEdit::PositionAt(int x) const
{
    const TVisibleText v = VisibleText();
    return v.From + v.Layout->lineAt(0).xToCursor(x - v.Origin.x());
}

void TFlatEdit::PaintLong()
{
    QPainter p(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &p, this);
    const QRect line = TextLine();
    p.setClipRect(line.adjusted(-HorizontalMargin, 0, HorizontalMargin, 0));

    const QPalette::ColorGroup group = !isEnabled() ? QPalette::Disabled
                                       : isActiveWindow() ? QPalette::Active
                                                          : QPalette::Inactive;
    const TVisibleText v = VisibleText();
    const qsizetype shown = v.Layout->text().size();
    QList<QTextLayout::FormatRange> selections;
    if (hasSelectedText()) {
        const qsizetype start = std::clamp<qsizetype>(selectionStart() - v.From, 0, shown);
        const qsizetype end = std::clamp<qsizetype>(selectionEnd() - v.From, 0, shown);
        if (end > start) {
            QTextLayout::FormatRange range;
            range.start = static_cast<int>(start);
            range.length = static_cast<int>(end - start);
            range.format.setBackground(palette().brush(group, QPalette::Highlight));
            range.format.setForeground(palette().brush(group, QPalette::HighlightedText));
            selections.append(range);
        }
    }
    p.setPen(palette().color(group, QPalette::Text));
    v.Layout->draw(&p, v.Origin, selections, line);
    // The cursor stands still: QLineEdit's blink repaints by its own scroll, not this one.
    const qsizetype cursor = cursorPosition() - v.From;
    if (hasFocus() && !isReadOnly() && cursor >= 0 && cursor <= shown)
        v.Layout->drawCursor(&p, v.Origin, static_cast<int>(cursor), style()->pixelMetric(QStyle::PM_TextCursorWidth, &panel, this));
}

void TFlatEdit::mousePressEvent(QMouseEvent *e)
{
    FDragAnchor = -1;
    if (!IsLong() || e->button() == Qt::RightButton) {
        QLineEdit::mousePressEvent(e);
        return;
    }
    const int at = static_cast<int>(PositionAt(qRound(e->position().x())));
    if (e->button() == Qt::LeftButton && FTripleClick.isValid()
        && FTripleClick.elapsed() < QGuiApplication::styleHints()->mouseDoubleClickInterval()) {
        FTripleClick.invalidate();
        selectAll();
        return;
    }
    int anchor = at;
    if (e->modifiers() & Qt::ShiftModifier) {
        anchor = !hasSelectedText() ? cursorPosition()
                 : cursorPosition() == selectionStart() ? selectionEnd()
                                                        : selectionStart();
        setSelection(anchor, at - anchor);
    } else {
        deselect();
        setCursorPosition(at);
    }
    if (e->button() == Qt::LeftButton)
        FDragAnchor = anchor;
}

void TFlatEdit::mouseMoveEvent(QMouseEvent *e)
{
    if (!IsLong() || FDragAnchor < 0 || !(e->buttons() & Qt::LeftButton)) {
        QLineEdit::mouseMoveEvent(e);
        return;
    }
    const int at = static_cast<int>(PositionAt(qRound(e->position().x())));
    setSelection(static_cast<int>(FDragAnchor), at - static_cast<int>(FDragAnchor));
}

// A double click selects the word under the pointer, as QLineEdit does; a third click soon
// after selects everything.
void TFlatEdit::mouseDoubleClickEvent(QMouseEvent *e)
{
    if (!IsLong() || e->button() != Qt::LeftButton) {
        QLineEdit::mouseDoubleClickEvent(e);
        return;
    }
    const QString all = text();
    const qsizetype at = PositionAt(qRound(e->position().x()));
    const qsizetype from = std::max<qsizetype>(0, at - 256);
    QTextBoundaryFinder words(QTextBoundaryFinder::Word, QStringView(all).mid(from, 512).toString());
    const auto local = static_cast<qsizetype>(at - from);
    words.setPosition(local);
    const qsizetype end = words.toNextBoundary();
    words.setPosition(local);
    const qsizetype begin = words.isAtBoundary() ? local : words.toPreviousBoundary();
    if (begin >= 0 && end > begin)
        setSelection(static_cast<int>(from + begin), static_cast<int>(end - begin));
    FDragAnchor = -1;
    FTripleClick.start();
}

QVariant TFlatEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query != Qt::ImCursorRectangle || !IsLong())
        return QLineEdit::inputMethodQuery(query);
    const TVisibleText v = VisibleText();
    const QRect line = TextLine();
    const qreal x = v.Origin.x() + v.Layout->lineAt(0).cursorToX(static_cast<int>(cursorPosition() - v.From));
    return QRect(qRound(x), line.top(), 1, line.height());
}

bool TFlatEdit::event(QEvent *e)
{
    const bool handled = QLineEdit::event(e);
    if ((e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut) && IsLong())
        update();
    return handled;
}
