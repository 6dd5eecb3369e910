#include "framework/Dispatch.h"

#include "framework/Failure.h"

QString WithFullStop(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void RunCommand(TMessageSink &sink, const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const Exception &e) {
        sink.ShowError(WithFullStop(e.Message()));
    }
}
