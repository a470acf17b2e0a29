// Whether an erase-then-write may run: the device and what the write would cover.
#include "engine/EraseThenWrite.h"

#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"

namespace {

bool IsRange(const QString &startText, const QString &endText, std::uint32_t last)
{
    const std::optional<std::uint32_t> start = ParseHexText(startText);
    const std::optional<std::uint32_t> end = ParseHexText(endText);
    return start == 0u && end == last;
}

bool EveryTarget(const DeviceRecord &device, const EraseThenWriteCover &cover)
{
    return cover.ticked(ChipTarget::ProgramMemory) && cover.ticked(ChipTarget::IdCode) &&
           (cover.ticked(ChipTarget::DataMemory) || !device.HasDataMemory) &&
           (cover.ticked(ChipTarget::ConfigWord) || device.NoConfigWord != 0);
}

bool WholeRanges(const DeviceRecord &device, const EraseThenWriteCover &cover)
{
    return IsRange(cover.progStart, cover.progEnd, ProgMaxAddress(device)) &&
           (!device.HasDataMemory ||
            IsRange(cover.dataStart, cover.dataEnd, DataMaxAddress(device)));
}

} // namespace

std::optional<EraseThenWriteRefusal> CheckEraseThenWrite(const DeviceRecord &device,
                                                         const EraseThenWriteCover &cover)
{
    if (!HasBulkErase(device))
        return EraseThenWriteRefusal::NotErasable;
    if (!EveryTarget(device, cover) || !WholeRanges(device, cover))
        return EraseThenWriteRefusal::PartOfChip;
    return std::nullopt;
}
