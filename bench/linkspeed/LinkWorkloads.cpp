#include "LinkWorkloads.h"

#include <cstdint>

namespace {

constexpr std::uint16_t kPowerTiming = 0xF40C;
constexpr std::uint8_t kPowerTimingCount = 1;
constexpr std::uint8_t kEnterParallelMode = 10;
constexpr int kWords16f84 = 1024;

// The chip powered in programming mode with the Parallel method, as every 16f84 operation
// begins.
bool PowerOnParallel(ProgrammerModule &m)
{
    return m.ModulePowerOff() && m.ModuleSetPulseTiming(kPowerTiming, kPowerTimingCount) &&
           m.ModulePowerOnSerialMode() && m.ModuleSerialPicCommand(kEnterParallelMode);
}

bool PowerOff(ProgrammerModule &m)
{
    const bool timing = m.ModuleSetPulseTiming(kPowerTiming, kPowerTimingCount);
    return m.ModulePowerOff() && timing;
}

// Every program word of a 16f84 read with the module's combined commands: one 0x0B read and
// one 0x14 increment per word.
bool ReadProgram16f84Parallel(ProgrammerModule &m)
{
    if (!PowerOnParallel(m)) {
        return false;
    }
    for (int address = 0; address < kWords16f84; ++address) {
        std::uint16_t word = 0;
        if (!m.ModuleReadProgWord(word) || !m.ModuleIncrementAddress()) {
            PowerOff(m);
            return false;
        }
    }
    return PowerOff(m);
}

} // namespace

const std::vector<LinkWorkload> &AllLinkWorkloads()
{
    static const std::vector<LinkWorkload> workloads = {
        {"16f84-program-read-parallel-commands", "16f84", {}, ReadProgram16f84Parallel},
    };
    return workloads;
}
