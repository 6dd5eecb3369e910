#pragma once

#include "desktop/CommandLine.h"

#include <QString>

// What --simulate, --contrast and --delta print: the text for standard output, or a message and
// the exit status for what does not read. Needs no display and touches no settings.
struct TJudgeOutput {
    QString Text;  // with a final newline
    QString Error; // without "pigmora: "; empty when the command ran
    int Status = 0;
};
TJudgeOutput RunJudgeCommand(const TCommandLine &cl);
