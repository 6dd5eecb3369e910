#include "desktop/FontPreload.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

#include <fontconfig/fontconfig.h>

cpu_set_t WorkerStartCpus(const cpu_set_t &allowed, int creatorCpu)
{
    cpu_set_t others = allowed;
    if (creatorCpu >= 0 && creatorCpu < CPU_SETSIZE)
        CPU_CLR(creatorCpu, &others);
    return CPU_COUNT(&others) > 0 ? others : allowed;
}

TFontPreload::TFontPreload()
{
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (sched_getaffinity(0, sizeof allowed, &allowed) != 0)
        CPU_ZERO(&allowed);
    const bool knowsCpus = CPU_COUNT(&allowed) > 0;
    // A new or woken thread is placed on its creator's or waker's CPU; until the scheduler moves
    // one of them the GUI thread waits for its turn there (1 to 3 ms on a two-core machine), so
    // the worker keeps to the other CPUs.
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0)
        return;
    const cpu_set_t start = WorkerStartCpus(allowed, sched_getcpu());
    if (knowsCpus)
        pthread_attr_setaffinity_np(&attr, sizeof start, &start);
    FJoinable = pthread_create(&FWorker, &attr, &TFontPreload::Start, this) == 0;
    pthread_attr_destroy(&attr);
    if (!FJoinable && knowsCpus) // the CPUs went away meanwhile: anywhere will do
        FJoinable = pthread_create(&FWorker, nullptr, &TFontPreload::Start, this) == 0;
}

TFontPreload::~TFontPreload()
{
    Finish();
}

void TFontPreload::Finish()
{
    if (!FJoinable)
        return;
    {
        // Released without ApplicationReady(), the worker stops after the configuration.
        std::lock_guard lock(FLock);
        FReleased = true;
    }
    FChanged.notify_all();
    pthread_join(FWorker, nullptr);
    FJoinable = false;
}

void TFontPreload::ApplicationReady(const QList<QFont> &firstFonts)
{
    if (!FJoinable)
        return;
    std::unique_lock lock(FLock);
    FFirstFonts = firstFonts;
    FApplicationReady = true;
    FChanged.notify_all();
    FChanged.wait(lock, [this] { return FConfigRead; });
}

void *TFontPreload::Start(void *self)
{
    static_cast<TFontPreload *>(self)->Run();
    return nullptr;
}

void TFontPreload::Run()
{
    FcInit();
    std::unique_lock lock(FLock);
    FConfigRead = true;
    FChanged.notify_all();
    FChanged.wait(lock, [this] { return FApplicationReady || FReleased; });
    const bool populate = FApplicationReady;
    const QList<QFont> fonts = FFirstFonts;
    lock.unlock();
    if (!populate)
        return;
    // Qt's font database is guarded by its own lock; the GUI thread's first font waits for it.
    QFontDatabase::families();
    for (const QFont &font : fonts)
        QFontMetrics(font).height();
}
