#pragma once

#include <cstdint>

struct DeviceRecord;

// Where the memories lie in a hex file, in word addresses (the byte address is twice that).
namespace HexLayout {
// Data EEPROM starts at word 0x2100 (byte 0x4200); each data byte is the low byte of a word.
constexpr uint32_t kDataFirstWord = 0x2100;
constexpr int kIdLocations = 4;
} // namespace HexLayout

// The word address of the first ID location in files. It is the device's IdAddress, except
// for the two 14-bit-core catalogue rows that carry 0 there (16c71, 16c715): their chips keep
// the ID locations at 0x2000 like every 14-bit part, and an ID record at 0 would land on
// program words 0-3 when the file is loaded again.
uint16_t FileIdAddress(const DeviceRecord &device);
