#pragma once

#include "PartDefinition.h"

#include <QStringView>
#include <cstdint>
#include <optional>

// What each family driver is and can do: the limits a part file is checked against, and the
// facts of today's device record that follow from the algorithm alone.
struct AlgorithmInfo
{
    PartAlgorithm algorithm;
    const char *name;     // as part files write it
    uint8_t deviceFamily; // DeviceFamily of the device record
    uint8_t powerOnMode;  // 0: the 16C5x power-on sequence, 1: the serial-mode one
    int wordBits;         // 12 or 14
    bool parallel;        // methods the driver has
    bool serial;
    int maxProgramWords; // 12-bit parts keep their configuration word at 0FFF, 14-bit parts
                         // their configuration space at 2000
    int maxDataBytes;    // the image holds 256 data bytes
    int writeLatchWords; // words per programming cycle
};

const AlgorithmInfo &InfoOf(PartAlgorithm algorithm);
std::optional<PartAlgorithm> AlgorithmNamed(QStringView name);

uint16_t WordMaskOf(const PartDefinition &part);

// The configuration space the driver reaches: 2000-20FF on 14-bit parts; on 12-bit parts from
// the end of program memory (the ID locations) to the configuration word at 0FFF.
struct AddressRange
{
    uint32_t first = 0;
    uint32_t last = 0;
    bool Contains(uint32_t address) const { return address >= first && address <= last; }
};
AddressRange ConfigurationSpace(const PartDefinition &part);

// Where the driver finds the ID locations: 2000 on 14-bit parts, right after program memory on
// 12-bit parts.
uint32_t IdAddressOfAlgorithm(const PartDefinition &part);

// The device ID word of the 14-bit flash parts.
constexpr uint16_t kDeviceIdAddress = 0x2006;
