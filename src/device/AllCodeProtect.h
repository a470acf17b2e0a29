#pragma once

#include <cstdint>

struct ConfigControls;
struct DeviceRecord;

// The configuration word All Code Protect programs, from the chip's word as read and the
// option controls that word selects: every protection bit the device offers set, the chip's
// other options kept (the part's all_code_protect rule).
std::uint16_t AllCodeProtectWord(const DeviceRecord &device, std::uint16_t chipWord,
                                 const ConfigControls &controls);
