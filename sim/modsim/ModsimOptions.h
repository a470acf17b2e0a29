#pragma once

#include "SimSettings.h"

#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tolm::sim {

// Everything tolm-modsim is told on its command line.
struct ModsimOptions
{
    std::string device;
    std::string linkPath;
    std::vector<std::string> partFiles;
    bool listDevices = false;
    std::optional<uint16_t> revision;
    std::string chipIn;
    std::string chipOut;
    std::string transcriptPath;
    bool transcriptChipTime = false;
    std::optional<uint8_t> identifyByte;
    TimingSettings timing;
    std::optional<int> adapterLatencyMs; // replies held as a USB adapter's receive timer does
    FaultSettings faults;
    std::vector<std::pair<uint16_t, int>> pulsesNeeded; // address, pulses
    std::vector<uint16_t> neverProgram;
};

enum class ParseOutcome { Run, Exit, Error };

// Parses the arguments (program name first). On Exit (--help, --version) the text to print is in
// message; on Error, the complaint. --list-devices runs (after the part files are read); which
// chip --device names is settled then too.
ParseOutcome ParseModsimOptions(const QStringList &arguments, ModsimOptions &options,
                                QString &message);

} // namespace tolm::sim
