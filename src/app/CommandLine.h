#pragma once

#include <QStringList>
#include <optional>

class QTextStream;

// tolm takes no arguments of its own but answers --help and --version, printing to `out`
// and ending with exit code 0, before any window (or display) is needed. Anything else
// given gives no answer here: the window starts.
std::optional<int> AnswerInformationRequest(const QStringList &arguments, QTextStream &out);
