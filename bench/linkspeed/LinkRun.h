#pragma once

#include "IdealTime.h"
#include "LinkWorkloads.h"

#include <QString>

#include <chrono>
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
LinkRunResult RunLinkWorkload(const QString &modsim, const LinkWorkload &workload);
