#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QTextStream;

// tolm answers --help and --version, printing to `out` and ending with exit code 0, before any
// window (or display) is needed. Anything else gives no answer here: the window starts.
std::optional<int> AnswerInformationRequest(const QStringList &arguments, QTextStream &out);

// The hex file to start with: the first argument that is not an option (the GUI toolkit has
// taken its own options out by then). "--" ends the options, so a file named "-x.hex" can be
// given as "-- -x.hex". Empty when none is given.
QString FileArgument(const QStringList &arguments);
