#include "framework/FontPreload.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QStringList>

#include <chrono>
#include <future>

namespace {

// Runs `body` on its own thread and reports whether it ended within a few seconds.
template <class F>
bool EndsInTime(F body)
{
    auto done = std::async(std::launch::async, body);
    return done.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
}

} // namespace

// The suite's application object stands for the program's: the preload is used the way the
// program's entry uses it, and released early the way an entry that fails before its window does.
TEST(FontPreload, ReadsTheFontListAndEndsWhetherOrNotTheApplicationBecameReady)
{
    EXPECT_TRUE(EndsInTime([] {
        TFontPreload preload;
        preload.ApplicationReady();
        preload.Finish();
        preload.Finish();
    }));
    EXPECT_FALSE(QFontDatabase::families().isEmpty());
    EXPECT_TRUE(EndsInTime([] { TFontPreload released; }));
    EXPECT_TRUE(EndsInTime([] {
        TFontPreload preload;
        preload.ApplicationReady();
    }));
}
