#pragma once

#include <QDeadlineTimer>

#include <chrono>
#include <functional>
#include <optional>

// How many bytes the serial driver still holds for sending; nothing when it cannot tell.
using QueuedBytesProbe = std::function<std::optional<int>()>;

// How often a byte that has not left yet is looked for again: a twentieth of a byte time at
// 9600 baud, so a byte is seen gone within a small fraction of its own wire time.
constexpr std::chrono::microseconds kDeparturePollInterval{50};

// Waits until the driver's output queue is empty, or the deadline passes. True when it emptied
// or the driver cannot report its queue (the byte is then taken as sent); false when a byte was
// still held at the deadline.
//
// The queue is looked at right away, which is all a pseudo-terminal (no queue) or a UART whose
// FIFO takes the byte at once ever needs; only a byte held back (CTS off, a USB adapter still
// busy with its transfer) is looked for again, at short intervals. tcdrain() would block
// without a time limit while CTS is off, and after the queue it waits for the transmitter to
// fall silent by sleeping whole scheduler ticks, several byte times at 9600 baud.
bool WaitForEmptyOutputQueue(const QueuedBytesProbe &queuedBytes, const QDeadlineTimer &deadline);
