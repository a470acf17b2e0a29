#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

// The oscillator items of a device type; the item index is the value the configuration
// word carries. Type 30 (no device) has no list of its own: the caller keeps its items.
QStringList OscillatorList(uint16_t deviceType);

// Whether a device type has its own oscillator list (all but the no-device row).
bool HasOscillatorList(uint16_t deviceType);

// The 12-bit-core parts (16C5x and 12C508/509) erase to 0FFF, every 14-bit part to 3FFF.
bool IsTwelveBitCore(uint16_t deviceType);
QString BlankWordText(uint16_t deviceType);
