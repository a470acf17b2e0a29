#include "cli/session/PartWarnings.h"

#include "cli/CliContext.h"
#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"

#include <atomic>

void WarnIfUnconfirmed(CliContext &ctx, const DeviceRecord &device)
{
    static std::atomic<bool> warned{false};
    if (ConfirmedOnHardware(device) || warned.exchange(true))
        return;
    ctx.err << "tolm-cli: warning: the " << device.DeviceName
            << " has not yet been confirmed on a real chip through the programmer module; "
               "its programming follows the manufacturer's programming guide"
            << Qt::endl;
}

void WarnIfVppBeforeVdd(CliContext &ctx, const DeviceRecord &device, std::uint16_t configWord)
{
    if (!NeedsVppBeforeVdd(device, configWord))
        return;
    ctx.err << "tolm-cli: warning: the " << device.DeviceName
            << "'s programming guide asks for Vpp before Vdd with configuration word "
            << FormatHex(configWord, 4)
            << ", and the programmer module raises Vdd first: a chip whose program starts at "
               "once (MCLR off, internal oscillator) may not enter programming mode"
            << Qt::endl;
}
