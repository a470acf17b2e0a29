#pragma once

#include "link/ProgrammerModule.h"

#include <QStringList>

#include <functional>
#include <string>
#include <vector>

// How the host makes the chip algorithms' pauses: to an absolute deadline with the chip work's
// timer slack, as tolm-cli does, or as a plain relative sleep, for comparison.
enum class HostWaits { Deadline, Relative };

// One job the link speed benchmark times: the chip in the simulator's socket and what the host
// does over the real serial link. run returns true when every exchange succeeded.
struct LinkWorkload
{
    std::string name;
    std::string device;        // as tolm-modsim --device takes it
    QStringList modsimOptions; // more for tolm-modsim, e.g. --chip-in FILE
    std::function<bool(ProgrammerModule &module, HostWaits waits)> run;
};

// Every workload, in the order they are run. To add one, append an entry to the list in
// LinkWorkloads.cpp.
const std::vector<LinkWorkload> &AllLinkWorkloads();
