#pragma once

#include "IdealTime.h"
#include "LinkWorkloads.h"

#include <QString>

#include <chrono>
#include <optional>
#include <string>

// The host's line speed, which the ideal time is counted at.
constexpr int kLinkBaud = 9600;

struct LinkRunResult
{
    std::chrono::microseconds elapsed{0}; // from the workload's first byte to its last
    IdealTime ideal;
    std::string error; // empty when the run and its transcript were sound
};

// Starts modsim in real time for the workload's chip, opens the serial link on its terminal,
// times the workload and works out the ideal from the transcript the simulator wrote.
LinkRunResult RunLinkWorkload(const QString &modsim, const LinkWorkload &workload, HostWaits waits);

// What one exchange costs beyond its wire time on this machine: the mean time from the host's
// write to its read of the acknowledge, against a tolm-modsim that answers at once (no byte
// time, no chip time), over `exchanges` Power Off exchanges. Two processes hand the bytes to
// each other through the pseudo-terminal; a module on a real port answers in hardware.
// Nothing (and `error` set) when the simulator or the link would not start.
std::optional<std::chrono::nanoseconds> MeasureTurnaround(const QString &modsim, int exchanges,
                                                          std::string &error);
