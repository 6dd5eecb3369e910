#include "framework/MessageBoxes.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
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

} // namespace
