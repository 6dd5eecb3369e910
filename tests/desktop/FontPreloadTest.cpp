#include "desktop/FontPreload.h"

#include "framework/Fonts.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
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
    const QFont windowFont = DefaultWindowFont();
    const int heightAlone = QFontMetrics(windowFont).height();
    EXPECT_TRUE(EndsInTime([&windowFont] {
        TFontPreload preload;
        preload.ApplicationReady({QGuiApplication::font(), windowFont});
        preload.Finish();
        preload.Finish();
    }));
    EXPECT_FALSE(QFontDatabase::families().isEmpty());
    // The worker's engines were its own: this thread's font still measures as before.
    EXPECT_EQ(QFontMetrics(windowFont).height(), heightAlone);
    EXPECT_TRUE(EndsInTime([] { TFontPreload released; }));
    EXPECT_TRUE(EndsInTime([] {
        TFontPreload preload;
        preload.ApplicationReady();
    }));
}

namespace {

cpu_set_t Cpus(std::initializer_list<int> cpus)
{
    cpu_set_t set;
    CPU_ZERO(&set);
    for (int cpu : cpus)
        CPU_SET(cpu, &set);
    return set;
}

struct StartCpusRow {
    const char *name;
    cpu_set_t allowed;
    int creator;
    cpu_set_t start;
};

class WorkerStart : public testing::TestWithParam<StartCpusRow> {};

TEST_P(WorkerStart, AvoidsTheCreatorsCpuWhereAnotherIsAllowed)
{
    const cpu_set_t start = WorkerStartCpus(GetParam().allowed, GetParam().creator);
    EXPECT_TRUE(CPU_EQUAL(&start, &GetParam().start));
}

INSTANTIATE_TEST_SUITE_P(
    Cpus, WorkerStart,
    testing::Values(StartCpusRow{"TwoCores", Cpus({0, 1}), 0, Cpus({1})},
                    StartCpusRow{"FourCores", Cpus({0, 1, 2, 3}), 2, Cpus({0, 1, 3})},
                    StartCpusRow{"OneCore", Cpus({0}), 0, Cpus({0})},
                    StartCpusRow{"CreatorOutsideTheSet", Cpus({2, 3}), 0, Cpus({2, 3})},
                    StartCpusRow{"CreatorUnknown", Cpus({0, 1}), -1, Cpus({0, 1})},
                    StartCpusRow{"CreatorBeyondTheSetSize", Cpus({0, 1}), CPU_SETSIZE, Cpus({0, 1})}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
