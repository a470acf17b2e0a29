#pragma once

#include "device/DeviceRecord.h"

#include <QString>
#include <optional>

struct DeviceIdInfo;

// The part Detect reads the device ID as: the selected one when it has a device ID, else a part
// that has one and takes both methods; nothing when the catalogue holds no such part.
std::optional<DeviceRecord> DeviceIdReader(const DeviceRecord &selected);

// What the status line says after Detect found a part, and that it is now selected when another
// part was ("Detected 16f876, ... : now selected in place of the 16f877").
QString DetectedText(const DeviceIdInfo &info, const QString &selectedBefore);
