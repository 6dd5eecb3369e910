#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

// Reads the desktop's font configuration, then Qt's list of installed faces, on a worker
// thread, so that this work (most of what a window with text fields adds to the start before
// its first map) overlaps the connection to the display and the building of the window.
// Construct it before the QApplication, call ApplicationReady() right after it and Finish()
// once the window is built (before the application object can go).
class TFontPreload {
public:
    TFontPreload();
    ~TFontPreload();
    TFontPreload(const TFontPreload &) = delete;
    TFontPreload &operator=(const TFontPreload &) = delete;

    // The application object exists: the worker may go on to Qt's font list. Returns once the
    // font configuration is read, so that the caller's first font look-up does not read it again.
    void ApplicationReady();
    // Waits for the worker to end.
    void Finish();

private:
    void Run();

    std::mutex FLock;
    std::condition_variable FChanged;
    bool FConfigRead = false;
    bool FApplicationReady = false;
    bool FReleased = false;
    std::thread FWorker;
};
