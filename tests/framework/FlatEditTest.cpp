#include "framework/FlatEdit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <memory>

namespace {

class FlatEditLong : public ::testing::Test {
protected:
    void SetUp() override
    {
        edit = std::make_unique<TFlatEdit>(clWindow);
        edit->setMaxLength(std::numeric_limits<int>::max());
        edit->resize(200, 21);
        edit->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(edit.get()));
    }

    // Where the text cursor stands when it is at this position, as the edit reports it to the
    // input method (and draws it).
    int CursorX(int position)
    {
        edit->setCursorPosition(position);
        return edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
    }

    void ClickAt(int x, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(edit.get(), Qt::LeftButton, modifiers, {x, edit->height() / 2});
    }

    std::unique_ptr<TFlatEdit> edit;
};

QString Digits(qsizetype length)
{
    QString text;
    for (qsizetype i = 0; i < length; ++i)
        text += QChar(static_cast<char16_t>(u'0' + i % 10));
    return text;
}

TEST_F(FlatEditLong, ShortAndLongTextsLookTheSameFromTheStart)
{
    // One character below the threshold QLineEdit paints; one above, the edit itself. Without
    // focus, with the text scrolled to its start, both show the same pixels.
    edit->setText(QString(TFlatEdit::LongText, QLatin1Char('W')));
    ASSERT_FALSE(edit->IsLong());
    edit->setCursorPosition(0);
    const QImage qt = edit->grab().toImage();
    edit->setText(QString(TFlatEdit::LongText + 1, QLatin1Char('W')));
    ASSERT_TRUE(edit->IsLong());
    edit->setCursorPosition(0);
    EXPECT_EQ(edit->grab().toImage(), qt);
}

TEST_F(FlatEditLong, ViewFollowsTheCursorAndTheMouseTakesTheCharacterUnderIt)
{
    const QString text = Digits(1 << 20);
    edit->setText(text);
    edit->setCursorPosition(0);
    EXPECT_EQ(edit->FirstVisible(), 0);
    const int x7 = CursorX(7);
    ClickAt(x7 + 1);
    EXPECT_EQ(edit->cursorPosition(), 7);

    // At the end, the cursor stands inside the field, and the characters before it map back.
    edit->end(false);
    const int end = CursorX(static_cast<int>(text.size()));
    EXPECT_GT(edit->FirstVisible(), text.size() - 200);
    EXPECT_GT(end, 0);
    EXPECT_LT(end, edit->width());
    const int near = static_cast<int>(text.size() - 5);
    const int xNear = CursorX(near);
    edit->end(false);
    ClickAt(xNear + 1);
    EXPECT_EQ(edit->cursorPosition(), near);

    // Shift+click and a drag select from the anchor; keys still move as in any edit.
    ClickAt(end - 1, Qt::ShiftModifier);
    EXPECT_EQ(edit->selectionStart(), near);
    EXPECT_EQ(edit->selectedText(), text.right(5));
    QTest::keyClick(edit.get(), Qt::Key_Home);
    EXPECT_EQ(edit->cursorPosition(), 0);
    EXPECT_EQ(edit->FirstVisible(), 0);
    const QPoint from(CursorX(2) + 1, 10), to(CursorX(6) + 1, 10);
    QTest::mousePress(edit.get(), Qt::LeftButton, {}, from);
    QMouseEvent drag(QEvent::MouseMove, to, edit->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(edit.get(), &drag);
    QTest::mouseRelease(edit.get(), Qt::LeftButton, {}, to);
    EXPECT_EQ(edit->selectedText(), QStringLiteral("2345"));
}

TEST_F(FlatEditLong, DoubleClickSelectsTheWordAndTypingKeepsTheCursorInView)
{
    QString text;
    while (text.size() <= TFlatEdit::LongText)
        text += QStringLiteral("alpha beta ");
    edit->setText(text);
    edit->setCursorPosition(0);
    const int inBeta = CursorX(8);
    edit->setCursorPosition(0);
    QTest::mouseDClick(edit.get(), Qt::LeftButton, {}, {inBeta, 10});
    EXPECT_EQ(edit->selectedText(), QStringLiteral("beta"));

    edit->setFocus();
    edit->end(false);
    QTest::keyClicks(edit.get(), QStringLiteral("gamma"));
    EXPECT_TRUE(edit->text().endsWith(QStringLiteral("beta gamma")));
    const int x = CursorX(edit->cursorPosition());
    EXPECT_GT(x, 0);
    EXPECT_LT(x, edit->width());
}

} // namespace
