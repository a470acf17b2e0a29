#pragma once

#include <QString>

// Seconds as m:ss, or h:mm:ss from an hour on: the time figures of a running memory operation,
// the same in the progress window and on the terminal's progress line.
QString DurationText(qint64 seconds);
