// Host processor time per module exchange, with the module simulated in-process and answering
// at once: what the command layer costs on top of the line (a 9600-baud line takes at least
// two milliseconds per exchange). The figure includes the simulator's own work.
#include "ModuleSimulator.h"
#include "SimulatorChannel.h"
#include "link/ProgrammerModule.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

// A 16f84 powered in programming mode with the Parallel method.
struct PoweredModule
{
    tolm::sim::ModuleSimulator simulator{*tolm::sim::FindChip("16f84")};
    SimulatorChannel channel{simulator};
    ProgrammerModule module{channel};

    PoweredModule()
    {
        simulator.SetKeepTranscript(false); // a long run must not grow the simulator's memory
        module.ModulePowerOff();
        module.ModuleSetPulseTiming(0xF40C, 1);
        module.ModulePowerOnSerialMode();
        module.ModuleSerialPicCommand(10);
    }
};

void Finish(benchmark::State &state, PoweredModule &m, int exchangesPerIteration)
{
    state.SetItemsProcessed(state.iterations() * exchangesPerIteration);
    state.counters["exchanges"] =
        benchmark::Counter(static_cast<double>(state.iterations() * exchangesPerIteration),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    if (!m.simulator.ProtocolFaults().empty()) {
        state.SkipWithError(m.simulator.ProtocolFaultsText().c_str());
    }
}

// 0x0B: one byte out, four reply digits and the acknowledge back.
void ReadProgWordExchange(benchmark::State &state)
{
    PoweredModule m;
    std::uint16_t word = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(m.module.ModuleReadProgWord(word));
    }
    Finish(state, m, 1);
}
BENCHMARK(ReadProgWordExchange);

// 0x10: seven bytes out, the acknowledge back, a flash word programmed in the simulated chip.
void WriteWordFlashExchange(benchmark::State &state)
{
    PoweredModule m;
    std::uint16_t value = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(m.module.ModuleWriteWordFlash(value));
        value = static_cast<std::uint16_t>((value + 0x0101) & 0x3FFF);
        m.module.ModuleIncrementAddress();
        if ((value & 0x3FF) == 0) {
            m.module.ModulePowerOff(); // back to 0000 so the counter never leaves the chip
            m.module.ModulePowerOnSerialMode();
            m.module.ModuleSerialPicCommand(10);
        }
    }
    Finish(state, m, 2);
}
BENCHMARK(WriteWordFlashExchange);

// The word loop of a Parallel program read: a read and an increment.
void ReadLoopWord(benchmark::State &state)
{
    PoweredModule m;
    std::uint16_t word = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(m.module.ModuleReadProgWord(word));
        m.module.ModuleIncrementAddress();
    }
    Finish(state, m, 2);
}
BENCHMARK(ReadLoopWord);

} // namespace

BENCHMARK_MAIN();
