// The configuration word and the option controls of the selected device: the part's named
// fields decide (device/catalogue/PartConfigMapping); the no-device record changes nothing.
#include "ConfigControls.h"
#include "DeviceRecord.h"

#include "catalogue/PartConfigMapping.h"
#include "catalogue/PartRecord.h"

uint16_t ConfigBitsUsed(const DeviceRecord &device)
{
    return device.Part ? PartConfigBitsUsed(*device.Part) : 0;
}

uint16_t ProtectionBits(const DeviceRecord &device)
{
    const ConfigField *cp =
        device.Part ? FieldFor(*device.Part, FieldControl::Protection) : nullptr;
    return cp ? cp->mask : 0;
}

ConfigControls ConfigToControls(uint16_t word, const DeviceRecord &device,
                                const ConfigControls &current)
{
    return device.Part ? PartConfigToControls(word, *device.Part, current) : current;
}

uint16_t ControlsToConfig(const ConfigControls &controls, const DeviceRecord &device,
                          uint16_t currentWord)
{
    return device.Part ? PartControlsToConfig(controls, *device.Part, currentWord) : currentWord;
}
