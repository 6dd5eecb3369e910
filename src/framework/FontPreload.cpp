#include "framework/FontPreload.h"

#include <QFontDatabase>
#include <QStringList>

#include <fontconfig/fontconfig.h>

TFontPreload::TFontPreload() : FWorker([this] { Run(); }) {}

TFontPreload::~TFontPreload()
{
    Finish();
}

void TFontPreload::Finish()
{
    if (!FWorker.joinable())
        return;
    {
        // Released without ApplicationReady(), the worker stops after the configuration.
        std::lock_guard lock(FLock);
        FReleased = true;
    }
    FChanged.notify_all();
    FWorker.join();
}

void TFontPreload::ApplicationReady()
{
    std::unique_lock lock(FLock);
    FApplicationReady = true;
    FChanged.notify_all();
    FChanged.wait(lock, [this] { return FConfigRead; });
}

void TFontPreload::Run()
{
    FcInit();
    std::unique_lock lock(FLock);
    FConfigRead = true;
    FChanged.notify_all();
    FChanged.wait(lock, [this] { return FApplicationReady || FReleased; });
    const bool populate = FApplicationReady;
    lock.unlock();
    // Qt's font database is guarded by its own lock; the main thread's first font waits for it.
    if (populate)
        QFontDatabase::families();
}
