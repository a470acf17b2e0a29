#pragma once

#include <cstdint>
#include <optional>

struct DeviceRecord;

// Where the memories lie in a hex file, in word addresses (the byte address is twice that).
namespace HexLayout {
// Data EEPROM starts at word 0x2100 (byte 0x4200); each data byte is the low byte of a word.
constexpr uint32_t kDataFirstWord = 0x2100;
// 256 words there are the data area of a file, whatever the device's EEPROM holds.
constexpr uint32_t kDataLastWord = 0x21FF;
constexpr int kIdLocations = 4;
// On 14-bit parts the ID locations, the device ID and the configuration word lie in a
// configuration space above program memory.
constexpr uint32_t kConfigurationSpaceFirst = 0x2000;
constexpr uint32_t kConfigurationSpaceLast = 0x20FF;
} // namespace HexLayout

// The word address of the first ID location in files. It is the device's IdAddress, except
// for the two 14-bit-core catalogue rows that carry 0 there (16c71, 16c715): their chips keep
// the ID locations at 0x2000 like every 14-bit part, and an ID record at 0 would land on
// program words 0-3 when the file is loaded again.
uint16_t FileIdAddress(const DeviceRecord &device);

// The selected device's memories, in a file's word addresses.
struct HexWindows
{
    uint32_t ProgramLast = 0;
    uint32_t IdFirst = 0; // the first of the four ID locations
    uint32_t ConfigAddress = 0;
    // The second configuration word of the parts that have one (16F88X: 2008).
    std::optional<uint32_t> SecondConfigAddress;
    bool HasDataMemory = false;
    uint32_t DataLast = 0; // data address, 0 up
    bool HasConfigurationSpace = false;
};
HexWindows WindowsFor(const DeviceRecord &device);

// What a word at a file's word address is for the device: one of its memories, or a place
// where the device has none.
enum class HexRegion {
    Program,
    IdLocation,
    ConfigWord,
    SecondConfigWord,
    Data,
    ConfigurationSpace, // 14-bit parts, outside the ID locations and the configuration word
    BeyondData,         // the data area beyond the device's EEPROM, or all of it without one
    BeyondProgram,      // everything else
};
HexRegion RegionOf(uint32_t wordAddress, const HexWindows &windows);
