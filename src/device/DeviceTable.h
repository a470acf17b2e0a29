#pragma once

#include "DeviceRecord.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

constexpr int kDeviceTableRows = 31;

// The built-in catalogue: rows 0 to 29 are the devices, row 30 is the empty record.
const std::array<DeviceRecord, kDeviceTableRows> &DeviceTable();

// Exact, case-sensitive lookup ("16F84" matches nothing); the empty name finds row 30.
std::optional<DeviceRecord> FindDevice(const QString &name);

// The 30 device names in the order the user sees them in the device selector.
const QStringList &SelectorDeviceNames();

// The names of all 30 devices, joined for error messages.
QString ValidDeviceNamesText();
