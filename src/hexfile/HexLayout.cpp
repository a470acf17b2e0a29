#include "HexLayout.h"

#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"

uint16_t FileIdAddress(const DeviceRecord &device)
{
    constexpr uint16_t kFourteenBitIdAddress = 0x2000;
    const bool fourteenBitCore = device.DeviceFamily == DeviceFamily::kEprom14Bit ||
                                 device.DeviceFamily == DeviceFamily::kFlash14Bit;
    return fourteenBitCore && device.IdAddress == 0 ? kFourteenBitIdAddress : device.IdAddress;
}

HexWindows WindowsFor(const DeviceRecord &device)
{
    HexWindows w;
    w.ProgramLast = ProgMaxAddress(device);
    w.IdFirst = FileIdAddress(device);
    w.ConfigAddress = device.ConfigAddress;
    w.SecondConfigAddress = SecondConfigAddress(device);
    w.HasDataMemory = device.HasDataMemory != 0;
    w.DataLast = DataMaxAddress(device);
    // 12-bit parts keep their ID locations just above program memory and the configuration
    // word at 0FFF: there is no configuration space to speak of.
    w.HasConfigurationSpace = !HasTwelveBitCore(device);
    return w;
}

HexRegion RegionOf(uint32_t a, const HexWindows &w)
{
    using namespace HexLayout;
    if (a <= w.ProgramLast)
        return HexRegion::Program;
    if (a >= w.IdFirst && a < w.IdFirst + kIdLocations)
        return HexRegion::IdLocation;
    if (a == w.ConfigAddress)
        return HexRegion::ConfigWord;
    if (w.SecondConfigAddress && a == *w.SecondConfigAddress)
        return HexRegion::SecondConfigWord;
    if (a >= kDataFirstWord && a <= kDataLastWord)
        return w.HasDataMemory && a - kDataFirstWord <= w.DataLast ? HexRegion::Data
                                                                   : HexRegion::BeyondData;
    if (w.HasConfigurationSpace && a >= kConfigurationSpaceFirst && a <= kConfigurationSpaceLast)
        return HexRegion::ConfigurationSpace;
    return HexRegion::BeyondProgram;
}
