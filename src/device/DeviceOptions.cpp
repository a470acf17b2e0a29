#include "DeviceOptions.h"

#include "DeviceRecord.h"

#include "catalogue/PartRecord.h"

QStringList OscillatorList(const DeviceRecord &device)
{
    return device.Part ? OscillatorItems(*device.Part) : QStringList();
}

bool HasOscillatorList(const DeviceRecord &device)
{
    return device.Part && FieldFor(*device.Part, FieldControl::OscBox);
}
