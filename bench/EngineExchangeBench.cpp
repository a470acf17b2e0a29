// Host CPU spent per module exchange by the programming engine, against the in-process module
// simulator answering at once: what the engine, the command encoders and the byte channel cost
// on top of the wire. On a real 9600-baud line one exchange takes milliseconds; the host's
// share must stay far below that (the goal is under 50 microseconds per exchange).
#include "ModuleSimulator.h"
#include "ScriptedEngineHost.h"
#include "SimulatorChannel.h"

#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "device/catalogue/CatalogueInUse.h"
#include "engine/PicEngine.h"
#include "link/ProgrammerModule.h"

#include <benchmark/benchmark.h>

#include <functional>

namespace {

using Operation = std::function<EngineResult(PicEngine &)>;

void RunEngine(benchmark::State &state, const char *device, bool parallel, const char *progEnd,
               const Operation &operation)
{
    const DeviceRecord record = *FindDevice(QString::fromLatin1(device));
    auto sim = tolm::sim::ModuleSimulator::ForDevice(device);
    sim->SetKeepTranscript(false);
    SimulatorChannel channel(*sim);
    ProgrammerModule module(channel);
    MemoryImage image;
    for (int a = 0; a < MemoryImage::kProgramWords; ++a) {
        image.SetProgramWordText(a, FormatHex(static_cast<std::uint32_t>(a) & 0x3FFF, 4));
    }
    ScriptedEngineHost host;
    host.parallel = parallel;
    host.progEnd = QString::fromLatin1(progEnd);
    PicEngine engine(module, host, image, record);

    const int before = sim->ExchangeCount();
    for (auto _ : state) {
        benchmark::DoNotOptimize(operation(engine).wordsDone);
    }
    const double exchanges = sim->ExchangeCount() - before;
    state.counters["exchanges"] = benchmark::Counter(exchanges, benchmark::Counter::kAvgIterations);
    // Seconds per exchange: the inverse of the exchange rate.
    state.counters["per_exchange"] =
        benchmark::Counter(exchanges, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ReadProgram16f84Parallel(benchmark::State &state)
{
    RunEngine(state, "16f84", true, "03FF", [](PicEngine &e) { return e.PicReadProgMem(); });
}
void BM_WriteProgram16f84Serial(benchmark::State &state)
{
    RunEngine(state, "16f84", false, "03FF", [](PicEngine &e) { return e.PicWriteProgMem(); });
}
void BM_ReadProgram16f877Parallel(benchmark::State &state)
{
    RunEngine(state, "16f877", true, "07FF", [](PicEngine &e) { return e.PicReadProgMem(); });
}
void BM_WriteProgram12c508(benchmark::State &state)
{
    RunEngine(state, "12c508", false, "01FE", [](PicEngine &e) { return e.PicWriteProgMem(); });
}

BENCHMARK(BM_ReadProgram16f84Parallel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteProgram16f84Serial)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadProgram16f877Parallel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteProgram12c508)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
