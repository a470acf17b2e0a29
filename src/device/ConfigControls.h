#pragma once

#include <cstdint>

struct DeviceRecord;

// The option controls that stand for the configuration word: the oscillator item, the
// check boxes of the System page and the four protection radio buttons. The window copies
// its widgets into this struct and back; members carry the widgets' names.
struct ConfigControls
{
    int OscBox = 3; // item index
    bool WdtCbx = false;
    bool PutCbx = false;
    bool LvpCbx = false;
    bool BOutCbx = false;
    bool MClrCbx = false;
    bool DebugCbx = false;
    bool CpdCbx = false;
    bool WrtCbx = false;
    bool MpeenCbx = false;
    bool ProtNoneBtn = true;
    bool ProtUp12Btn = false;
    bool ProtUp34Btn = false;
    bool ProtAllBtn = false;

    bool operator==(const ConfigControls &) const = default;
};

// Which check boxes and protection choices the device offers; the others are disabled.
struct ConfigControlsEnabled
{
    bool WdtCbx, PutCbx, LvpCbx, BOutCbx, MClrCbx, DebugCbx, CpdCbx, WrtCbx, MpeenCbx;
    bool ProtUp12Btn, ProtUp34Btn;
};
ConfigControlsEnabled EnabledControls(const DeviceRecord &device);

// The controls right after a device is selected: the part's selected oscillator item (the last
// one unless its file says otherwise), "None" checked,
// and every box the device does not offer unchecked; boxes it offers keep their state.
// The no-device row keeps the oscillator item.
ConfigControls ControlsAfterDeviceSelection(const DeviceRecord &device,
                                            const ConfigControls &previous);

// Configuration word -> controls. `current` is the state before, which a fixed layout
// keeps for a protection pattern it does not know and the generic layout keeps for boxes
// the device does not have.
ConfigControls ConfigToControls(uint16_t word, const DeviceRecord &device,
                                const ConfigControls &current);

// Controls -> configuration word. `currentWord` is the base when no protection choice is
// checked; building only ever sets bits on the base.
uint16_t ControlsToConfig(const ConfigControls &controls, const DeviceRecord &device,
                          uint16_t currentWord);

// The configuration bits the option controls read and build: oscillator, the boxes the
// device offers and the code-protection bits. 0 for the no-device row.
uint16_t ConfigBitsUsed(const DeviceRecord &device);

// The code-protection bits of the device's configuration word. 0 for the no-device row.
uint16_t ProtectionBits(const DeviceRecord &device);
