#pragma once

#include "PartDefinition.h"

#include "device/DeviceRecord.h"

#include <QStringList>
#include <memory>

// What the rest of the program reads about a part, derived from its definition: the device
// record's fields, the oscillator list, and the questions the engine asks by name.

// The device record of a part; the record keeps the definition (a copy of it, or the shared one),
// so everything the record's flags do not say is asked of the definition by name.
DeviceRecord ToDeviceRecord(const PartDefinition &part);
DeviceRecord ToDeviceRecord(std::shared_ptr<const PartDefinition> part);

// The first configuration word's field bound to a control, or nothing.
const ConfigField *FieldFor(const PartDefinition &part, FieldControl control);

// The oscillator list's items (index = the controls' OscBox value) and the item selected when
// the part is chosen. A part without an oscillator field has no list.
QStringList OscillatorItems(const PartDefinition &part);
int SelectedOscillatorItem(const PartDefinition &part);

// The calibration value kept at the last program word, if the part has one.
const CalibrationDef *LastWordCalibration(const PartDefinition &part);
