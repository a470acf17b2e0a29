#include "HexLayout.h"

#include "device/DeviceRecord.h"

uint16_t FileIdAddress(const DeviceRecord &device)
{
    constexpr uint16_t kFourteenBitIdAddress = 0x2000;
    const bool fourteenBitCore = device.DeviceFamily == DeviceFamily::kEprom14Bit ||
                                 device.DeviceFamily == DeviceFamily::kFlash14Bit;
    return fourteenBitCore && device.IdAddress == 0 ? kFourteenBitIdAddress : device.IdAddress;
}
