#include "WriteWarnings.h"

#include "device/DeviceRecord.h"
#include "device/catalogue/PartDefinition.h"
#include "ops/Messages.h"

QString UnconfirmedPartText(const QString &partName)
{
    return QStringLiteral(
               "The %1 has not yet been confirmed on hardware: Tolm writes it as the "
               "manufacturer's programming specification says, but no one has yet written and "
               "verified one through the module. Verify the chip after writing it.")
        .arg(partName);
}

void WriteWarnings::BeforeWrite(const DeviceRecord &device)
{
    if (!device.Part || device.Part->confirmedOnHardware ||
        m_warnedParts.contains(device.DeviceName))
        return;
    m_warnedParts.insert(device.DeviceName);
    m_messages.Warning(UnconfirmedPartText(device.DeviceName));
}
