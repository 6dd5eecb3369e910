#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Turns the end of a desktop session into one ordinary close: SIGTERM and SIGHUP (through a
// self-pipe, so the handler only writes a byte) and the session manager's end-of-session request
// call `close` from the event loop, once; later signals and requests are ignored, so a second
// signal during the close cannot cut the settings write short. SIGKILL keeps nothing.
class TSessionEnd : public QObject {
    Q_OBJECT
public:
    explicit TSessionEnd(std::function<void()> close, QObject *parent = nullptr);
    ~TSessionEnd() override;

    // Runs the close, unless one ran already.
    void Request();
    bool Requested() const { return FRequested; }

private:
    void ReadSignal();

    std::function<void()> FClose;
    QSocketNotifier *FNotifier = nullptr;
    bool FRequested = false;
};
