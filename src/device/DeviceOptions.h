#pragma once

#include <QString>
#include <QStringList>

struct DeviceRecord;

// The oscillator items of a device; the item index is the value the configuration word
// carries. The no-device row has no list of its own: the caller keeps its items.
QStringList OscillatorList(const DeviceRecord &device);

// Whether the device has its own oscillator list (all but the no-device row).
bool HasOscillatorList(const DeviceRecord &device);
