#pragma once

#include <QString>

// A USB serial adapter hands received bytes to the host in packets, and the Linux driver of
// the common FTDI chips waits up to 16 ms (the chip's latency timer) before it sends a short
// packet. The module answers every command with a few bytes and waits for the next, so each
// exchange would pay that wait. The driver shortens it to 1 ms when the port asks for low
// latency (ASYNC_LOW_LATENCY through TIOCSSERIAL).
struct LowLatencyResult
{
    enum class State {
        NotAsked,    // no port opened yet
        TurnedOn,    // the flag was set and the driver kept it
        AlreadyOn,   // the driver had it set before
        Unsupported, // the port has no such setting (a pseudo-terminal, some USB drivers)
        Refused,     // the driver rejected the setting or did not keep it
    };
    State state = State::NotAsked;
    QString reason; // the system's reason for Unsupported and Refused
};

// Asks the driver of the open port `fd` for low latency; best effort, never fails the open.
LowLatencyResult RequestLowLatency(int fd);

// One line for a trace: "low latency: on", "low latency: not available on this port (...)".
QString LowLatencyNote(const LowLatencyResult &result);
