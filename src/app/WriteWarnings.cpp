#include "WriteWarnings.h"

#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "ops/Messages.h"

QString UnconfirmedPartText(const QString &partName)
{
    return QStringLiteral("The %1 has not yet been confirmed on hardware: Tolm writes it as the "
                          "manufacturer's programming guide says, but no one has yet written and "
                          "verified one through the module. Verify the chip after writing it.")
        .arg(partName);
}

QString VppFirstQuestion(const QString &partName, std::uint16_t word)
{
    return QStringLiteral(
               "With the configuration word %1 the %2's programming guide asks for Vpp "
               "before Vdd, but the module always powers Vdd first: the chip may start its "
               "program before it enters programming mode, and once this word is written it "
               "may not be programmable with the module again. Write it all the same?")
        .arg(FormatHex(word, 4), partName);
}

void WriteWarnings::BeforeWrite(const DeviceRecord &device)
{
    if (!device.Part || ConfirmedOnHardware(device) || m_warnedParts.contains(device.DeviceName))
        return;
    m_warnedParts.insert(device.DeviceName);
    m_messages.Warning(UnconfirmedPartText(device.DeviceName));
}

bool WriteWarnings::ConfigWriteAllowed(const DeviceRecord &device, std::uint16_t word)
{
    return !NeedsVppBeforeVdd(device, word) ||
           m_messages.ConfirmChipCommand(VppFirstQuestion(device.DeviceName, word));
}
