#pragma once

#include "device/ConfigControls.h"

#include <QString>
#include <cstdint>
#include <optional>

struct DeviceRecord;

// The check boxes as tolm-cli names them (--wdt, wdt=on), with the control behind each.
struct CliBox
{
    const char *name;
    const char *description;
    bool ConfigControls::*box;
    bool ConfigControlsEnabled::*enabled;
};
const CliBox *CliBoxes(int &count);

// An oscillator item by its text (any case) or its index.
std::optional<int> FindOscillatorItem(const DeviceRecord &device, const QString &item);

// The controls exactly as the main window shows them right after the device is picked.
ConfigControls FreshControls(const DeviceRecord &device);

// The configuration word as the window builds it for Save To File, Write and Verify: the
// controls are set from `word` when a file or the chip delivered one (`delivered`), else
// they stand as right after the device was picked; the word is then built from them.
std::uint16_t ConfigWordThroughControls(const DeviceRecord &device, std::uint16_t word,
                                        bool delivered);
