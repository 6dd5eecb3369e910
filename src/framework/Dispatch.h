#pragma once

#include "framework/MessageBoxes.h"

#include <functional>

// The message as the error box shows it: a full stop added when the last character sorts
// after ".", none when the text already ends in "." or is empty.
QString WithFullStop(const QString &message);

// Runs one command handler. A failure (Exception) ends the handler; it is shown in the error
// box and whatever the handler had already written stays written.
void RunCommand(TMessageSink &sink, const std::function<void()> &handler);
