#include "AllCodeProtect.h"

#include "DeviceRecord.h"

#include "catalogue/PartConfigMapping.h"

std::uint16_t AllCodeProtectWord(const DeviceRecord &device, std::uint16_t chipWord,
                                 const ConfigControls &controls)
{
    return device.Part ? PartAllCodeProtectWord(*device.Part, chipWord, controls) : chipWord;
}
