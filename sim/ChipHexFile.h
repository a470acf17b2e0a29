#pragma once

#include "SimChip.h"

#include <string>
#include <string_view>

// A chip's contents as an Intel HEX file in the program's 8-bit merged layout:
// - program word a at byte address 2a, low byte first;
// - the four ID locations at 2 x their address (0x4000 for 14-bit parts);
// - the configuration word at 2 x its address (0x400E, or 0x1FFE for 12-bit parts), and right
//   after it a second configuration word and a calibration word where the part has them;
// - data EEPROM byte a at byte address 0x4200 + 2a, followed by a 00 byte.
// Written with CR LF line ends; read with CR LF, CR or LF. Bytes outside these places are
// ignored on reading; a location the file does not mention keeps its contents.
namespace tolm::sim {

std::string ChipHexText(const SimChip &chip);
// False with a message naming the line when a record is malformed or its checksum is wrong;
// the chip is then left unchanged.
bool ParseChipHex(std::string_view text, SimChip &chip, std::string &error);

bool SaveChipHex(const std::string &path, const SimChip &chip, std::string &error);
bool LoadChipHex(const std::string &path, SimChip &chip, std::string &error);

} // namespace tolm::sim
