#pragma once

#include "engine/ChipResult.h"

#include <QString>
#include <cstdint>
#include <optional>

class PicEngine;
struct DeviceRecord;

// The newer flash parts hold a read-only device ID word at 2006 (in configuration space):
// bits 13-5 name the part, bits 4-0 its silicon revision. Checking it before programming
// keeps a wrong chip in the socket from being written with another part's image.
struct DeviceIdInfo
{
    std::uint16_t word = 0;
    std::optional<QString> partName; // nothing: "unknown device ID"
    int revision = 0;
};

// Whether the device carries such a word (16f628, 16f628a, 16f876, 16f877).
bool HasDeviceId(const DeviceRecord &device);

// What a device ID word names.
DeviceIdInfo DecodeDeviceId(std::uint16_t word);

// Reads the word in one power cycle: Load Configuration, six increments, read.
ChipResult<std::uint16_t> ReadDeviceId(PicEngine &engine);
