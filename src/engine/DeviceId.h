#pragma once

#include "engine/ChipResult.h"

#include <QString>
#include <cstdint>
#include <optional>

class PicEngine;
struct DeviceRecord;

// The newer flash parts hold a read-only device ID word at 2006 (in configuration space):
// the bits outside the part's revision mask name the part, the others (bits 4-0 on most parts,
// 3-0 on the 16F87XA) its silicon revision. Checking it before programming
// keeps a wrong chip in the socket from being written with another part's image.
struct DeviceIdInfo
{
    std::uint16_t word = 0;
    std::optional<QString> partName; // nothing: "unknown device ID"
    int revision = 0;
};

// Whether the device carries such a word (its part file gives a device_id).
bool HasDeviceId(const DeviceRecord &device);

// What a device ID word names: the catalogue part whose ID it carries, whatever part is selected.
DeviceIdInfo DecodeDeviceId(std::uint16_t word);

// Reads the word in one power cycle: Load Configuration, six increments, read.
ChipResult<std::uint16_t> ReadDeviceId(PicEngine &engine);
