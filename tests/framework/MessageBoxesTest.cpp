#include "framework/MessageBoxes.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <QTest>

namespace {

TEST(MessageBoxParent, TheModalWindowThenTheActiveOneThenTheGivenOne)
{
    QWidget fallback;
    QWidget main;
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    EXPECT_EQ(MessageBoxParent(&fallback), &main);

    QDialog picker(&main);
    picker.setModal(true);
    picker.show();
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
    EXPECT_EQ(MessageBoxParent(&fallback), &picker);

    picker.hide();
    main.hide();
    QApplication::setActiveWindow(nullptr);
    EXPECT_EQ(MessageBoxParent(&fallback), &fallback);
    EXPECT_EQ(MessageBoxParent(nullptr), nullptr);
}

// A text from outside that looks like rich text is shown as it is: an image it names is never
// loaded (a FIFO there would hang the window, an endless file exhaust its memory).
TEST(QtMessageSink, EveryBoxShowsItsTextAsPlainText)
{
    TQtMessageSink sink(QStringLiteral("Pigmora"));
    const QString text = QStringLiteral("'<img src=\"/dev/zero\"><b>x</b>' is no colour");
    std::vector<std::pair<Qt::TextFormat, QString>> seen;
    for (const auto show : {&TMessageSink::ShowMessage, &TMessageSink::ShowError, &TMessageSink::ShowStoreError}) {
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            seen.emplace_back(box->textFormat(), box->text());
            box->accept();
        });
        (sink.*show)(text);
    }
    ASSERT_EQ(seen.size(), 3u);
    for (const auto &[format, shown] : seen) {
        EXPECT_EQ(format, Qt::PlainText);
        EXPECT_EQ(shown, text);
    }
}

} // namespace
