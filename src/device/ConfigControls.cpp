#include "ConfigControls.h"

#include "DeviceOptions.h"
#include "DeviceRecord.h"

#include "catalogue/PartConfigMapping.h"
#include "catalogue/PartNames.h"
#include "catalogue/PartRecord.h"

ConfigControlsEnabled EnabledControls(const DeviceRecord &d)
{
    ConfigControlsEnabled e{};
    e.WdtCbx = d.HasWdt;
    e.PutCbx = d.HasPwrt;
    e.LvpCbx = d.HasLvp;
    e.BOutCbx = d.HasBrownout;
    e.MClrCbx = d.HasMclre;
    e.DebugCbx = d.HasDebug;
    e.CpdCbx = d.HasCpd;
    e.WrtCbx = d.HasWrt;
    e.MpeenCbx = d.HasMemoryParity;
    e.ProtUp12Btn = d.HasPartialProtect;
    e.ProtUp34Btn = d.HasPartialProtect;
    // A part may offer one partial choice without the other (the 16F627 only "Upper 3/4").
    const ConfigField *cp = d.Part ? FieldFor(*d.Part, FieldControl::Protection) : nullptr;
    if (cp) {
        e.ProtUp34Btn = cp->Find(kProtectUpper34) != nullptr;
        e.ProtUp12Btn = cp->Find(kProtectUpper12) != nullptr;
    }
    return e;
}

ConfigControls ControlsAfterDeviceSelection(const DeviceRecord &device,
                                            const ConfigControls &previous)
{
    if (device.Part)
        return PartControlsAfterSelection(*device.Part, previous);
    // No device: the oscillator item stays, the boxes it does not offer are cleared.
    ConfigControls c = previous;
    const ConfigControlsEnabled e = EnabledControls(device);
    c.WdtCbx = c.WdtCbx && e.WdtCbx;
    c.PutCbx = c.PutCbx && e.PutCbx;
    c.LvpCbx = c.LvpCbx && e.LvpCbx;
    c.BOutCbx = c.BOutCbx && e.BOutCbx;
    c.MClrCbx = c.MClrCbx && e.MClrCbx;
    c.DebugCbx = c.DebugCbx && e.DebugCbx;
    c.CpdCbx = c.CpdCbx && e.CpdCbx;
    c.WrtCbx = c.WrtCbx && e.WrtCbx;
    c.MpeenCbx = c.MpeenCbx && e.MpeenCbx;
    c.ProtNoneBtn = true;
    c.ProtUp12Btn = false;
    c.ProtUp34Btn = false;
    c.ProtAllBtn = false;
    return c;
}
