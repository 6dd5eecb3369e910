#include "desktop/SessionEnd.h"

#include <QGuiApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int SignalPipe[2] = {-1, -1};

extern "C" void OnEndSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a pending request.
    [[maybe_unused]] const auto written = ::write(SignalPipe[1], &byte, 1);
    errno = saved;
}

void Handle(int signal, void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
}

} // namespace

TSessionEnd::TSessionEnd(std::function<void()> close, QObject *parent) : QObject(parent), FClose(std::move(close))
{
    if (SignalPipe[0] < 0 && ::pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        SignalPipe[0] = SignalPipe[1] = -1;
    if (SignalPipe[0] >= 0) {
        FNotifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, this);
        connect(FNotifier, &QSocketNotifier::activated, this, &TSessionEnd::ReadSignal);
        Handle(SIGTERM, OnEndSignal);
        Handle(SIGHUP, OnEndSignal);
    }
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, &TSessionEnd::Request);
        connect(app, &QCoreApplication::aboutToQuit, this, &TSessionEnd::Request);
    }
}

// The handlers stay: a signal during the rest of the program's end only writes its byte.
TSessionEnd::~TSessionEnd() = default;

void TSessionEnd::ReadSignal()
{
    char bytes[16];
    while (::read(SignalPipe[0], bytes, sizeof bytes) > 0) {
    }
    Request();
}

void TSessionEnd::Request()
{
    if (FRequested)
        return;
    FRequested = true;
    FClose();
}
