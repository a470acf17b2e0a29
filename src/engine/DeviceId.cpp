#include "engine/DeviceId.h"

#include "engine/PicCommandCodes.h"
#include "engine/PicEngine.h"

#include "device/DeviceRecord.h"
#include "device/catalogue/CatalogueInUse.h"

namespace {

// Parts whose file gives no revision mask still carry the usual five revision bits.
constexpr std::uint16_t kRevisionBits = 0x001F;
// Load Configuration lands on 2000; the device ID is six locations further on.
constexpr int kDeviceIdOffset = 6;

} // namespace

bool HasDeviceId(const DeviceRecord &device)
{
    return device.Part && device.Part->deviceId.has_value();
}

DeviceIdInfo DecodeDeviceId(std::uint16_t word)
{
    DeviceIdInfo info;
    info.word = word;
    info.revision = word & kRevisionBits;
    // The catalogue's check keeps any two parts from matching one word.
    for (const PartDefinition &part : CatalogueInUse().parts) {
        if (part.deviceId && (word & ~part.revisionMask & 0x3FFF) == *part.deviceId) {
            info.partName = part.name;
            info.revision = word & part.revisionMask;
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
