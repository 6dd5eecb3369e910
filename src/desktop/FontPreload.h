#pragma once

#include <QFont>
#include <QList>

#include <condition_variable>
#include <mutex>
#include <pthread.h>
#include <sched.h>

// Reads the desktop's font configuration, then Qt's list of installed faces, then the first fonts
// the window lays out, on a worker thread, so that this work (most of what a window with text
// fields adds to the start before its first map) overlaps the connection to the display and the
// building of the window. Construct it before the QApplication, call ApplicationReady() once the
// application object exists and the font substitutions are installed, and Finish() once the
// window is built (before the application object can go). Where no thread can be started, every
// call returns at once and the GUI thread reads the fonts itself, as it would without this class.
class TFontPreload {
public:
    TFontPreload();
    ~TFontPreload();
    TFontPreload(const TFontPreload &) = delete;
    TFontPreload &operator=(const TFontPreload &) = delete;

    // The worker may go on to Qt's font list, then resolve `firstFonts` (Qt shares the fallback
    // list it finds for a family between threads; a font's engine is each thread's own). Returns
    // once the font configuration is read, so that the caller's first font look-up does not read
    // it again.
    void ApplicationReady(const QList<QFont> &firstFonts = {});
    // Waits for the worker to end.
    void Finish();

private:
    static void *Start(void *self);
    void Run();

    std::mutex FLock;
    std::condition_variable FChanged;
    bool FConfigRead = false;
    bool FApplicationReady = false;
    bool FReleased = false;
    QList<QFont> FFirstFonts;
    pthread_t FWorker{};
    bool FJoinable = false;
};

// The CPUs the worker may use: those allowed but the creator's own, so that it does not share
// the GUI thread's CPU until the scheduler moves one of them; all allowed ones where that leaves
// none (one CPU, or the creator's CPU not among them).
cpu_set_t WorkerStartCpus(const cpu_set_t &allowed, int creatorCpu);
