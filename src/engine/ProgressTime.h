#pragma once

#include <QtGlobal>
#include <optional>

// The time figures of a running memory operation, the same in the progress window and on the
// terminal's progress line (texts/TimeTexts words them).

// The time still needed for `total` words when `done` took `elapsedMs`, rounded up to whole
// seconds; nothing before the first word is done (no rate to go by yet).
std::optional<qint64> SecondsLeft(qint64 elapsedMs, qint64 done, qint64 total);
