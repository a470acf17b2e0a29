#pragma once

#include "Catalogue.h"

#include "device/DeviceRecord.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The parts this process offers: the shipped part files with the user's own on top, loaded and
// checked once, on first use, and read-only from then on (tolm-cli's port threads share it).
// What failed to load stays in problems(), for tolm-cli's stderr and the desktop's window.
const Catalogue &CatalogueInUse();

// The device record of every part in use, in the selector's order.
const std::vector<DeviceRecord> &DevicesInUse();

// Exact, case-sensitive lookup ("16F84" matches nothing). The empty name finds the no-device
// record, which stands for no device at all and is in no list.
std::optional<DeviceRecord> FindDevice(const QString &name);

// The part names in the order the user sees them in the device selector.
const QStringList &SelectorDeviceNames();

// The names of all parts, joined for error messages.
QString ValidDeviceNamesText();

// The record of no device: empty name, no memories, no algorithm; the window keeps its
// oscillator list and every mapping leaves controls and word as they are.
DeviceRecord NoDeviceRecord();
