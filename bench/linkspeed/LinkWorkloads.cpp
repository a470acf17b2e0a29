#include "LinkWorkloads.h"

#include "ScriptedEngineHost.h"

#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "device/catalogue/CatalogueInUse.h"
#include "engine/PicEngine.h"
#include "link/ChipWaits.h"

#include <chrono>
#include <optional>
#include <thread>

namespace {

enum class Memory { Program, Data };
enum class Action { Read, Write };

// One engine operation over a range, with a host whose pauses really sleep: the ideal time
// counts them, so a host that skipped them would look faster than the line allows.
std::function<bool(ProgrammerModule &, HostWaits)>
EngineWorkload(const char *device, bool parallel, Memory memory, Action action, const char *end)
{
    return [=](ProgrammerModule &module, HostWaits waits) {
        const DeviceRecord record = *FindDevice(QString::fromLatin1(device));
        ScriptedEngineHost host;
        host.parallel = parallel;
        host.progEnd = QString::fromLatin1(end);
        host.dataEnd = QString::fromLatin1(end);
        std::optional<ChipTimerSlack> slack;
        if (waits == HostWaits::Deadline) {
            slack.emplace();
            host.onDelay = [](int ms) { SleepForChip(ms); };
        } else {
            host.onDelay = [](int ms) {
                std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            };
        }
        MemoryImage image;
        for (int a = 0; a < MemoryImage::kProgramWords; ++a) {
            image.SetProgramWordText(a, FormatHex(static_cast<std::uint32_t>(a * 37) & 0x3FFF, 4));
        }
        for (int a = 0; a < MemoryImage::kDataBytes; ++a) {
            image.SetDataByteText(a, FormatHex(static_cast<std::uint32_t>(a * 11) & 0xFF, 2));
        }
        PicEngine engine(module, host, image, record);
        EngineResult result;
        if (memory == Memory::Program) {
            result = action == Action::Read ? engine.PicReadProgMem() : engine.PicWriteProgMem();
        } else {
            result = action == Action::Read ? engine.PicReadDataMem() : engine.PicWriteDataMem();
        }
        return result.outcome == EngineOutcome::Completed;
    };
}

} // namespace

const std::vector<LinkWorkload> &AllLinkWorkloads()
{
    using enum Memory;
    using enum Action;
    static const std::vector<LinkWorkload> workloads = {
        {"16f84-program-read-parallel",
         "16f84",
         {},
         EngineWorkload("16f84", true, Program, Read, "03FF")},
        {"16f84-program-read-serial",
         "16f84",
         {},
         EngineWorkload("16f84", false, Program, Read, "03FF")},
        {"16f84-program-write-parallel",
         "16f84",
         {},
         EngineWorkload("16f84", true, Program, Write, "03FF")},
        {"16f84-program-write-serial",
         "16f84",
         {},
         EngineWorkload("16f84", false, Program, Write, "03FF")},
        {"16f877-program-read-parallel-0000-07FF",
         "16f877",
         {},
         EngineWorkload("16f877", true, Program, Read, "07FF")},
        {"16f877-program-write-parallel-0000-07FF",
         "16f877",
         {},
         EngineWorkload("16f877", true, Program, Write, "07FF")},
        // Aligned 8-word blocks: eight loads, then one programming wait for the block.
        {"16f877a-program-write-serial",
         "16f877a",
         {},
         EngineWorkload("16f877a", false, Program, Write, "1FFF")},
        // Every user word below the OSCCAL word, one programming wait each.
        {"12f675-program-write-serial-0000-03FE",
         "12f675",
         {},
         EngineWorkload("12f675", false, Program, Write, "03FE")},
        {"16f84-data-read-parallel-00-3F",
         "16f84",
         {},
         EngineWorkload("16f84", true, Data, Read, "3F")},
        {"16f84-data-write-parallel-00-3F",
         "16f84",
         {},
         EngineWorkload("16f84", true, Data, Write, "3F")},
    };
    return workloads;
}
