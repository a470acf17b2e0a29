#include "engine/DeviceId.h"

#include "engine/PicCommandCodes.h"
#include "engine/PicEngine.h"

#include "device/DeviceRecord.h"

#include <array>

namespace {

struct KnownId
{
    const char *part;
    std::uint16_t id; // revision bits zero
};

constexpr std::array<KnownId, 4> kKnownIds = {{
    {"16f628", 0x07C0},
    {"16f628a", 0x1060},
    {"16f876", 0x09E0},
    {"16f877", 0x09A0},
}};

constexpr std::uint16_t kPartBits = 0x3FE0;
constexpr std::uint16_t kRevisionBits = 0x001F;
// Load Configuration lands on 2000; the device ID is six locations further on.
constexpr int kDeviceIdOffset = 6;

} // namespace

bool HasDeviceId(const DeviceRecord &device)
{
    for (const KnownId &known : kKnownIds) {
        if (device.DeviceName == QLatin1String(known.part)) {
            return true;
        }
    }
    return false;
}

DeviceIdInfo DecodeDeviceId(std::uint16_t word)
{
    DeviceIdInfo info;
    info.word = word;
    info.revision = word & kRevisionBits;
    for (const KnownId &known : kKnownIds) {
        if ((word & kPartBits) == known.id) {
            info.partName = QString::fromLatin1(known.part);
        }
    }
    return info;
}

ChipResult<std::uint16_t> ReadDeviceId(PicEngine &engine)
{
    if (!engine.PicPowerOn()) {
        return engine.CycleFailure();
    }
    const bool parallel = engine.Host().ParallelSelected();
    std::uint16_t word = 0;
    const bool ok = engine.PicGoConfigLocation(0, kDeviceIdOffset, parallel) &&
                    engine.PicReadWordAtCounter(parallel, word);
    engine.PicPowerOff();
    return engine.Outcome(ok, word);
}
