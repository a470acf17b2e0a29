#pragma once

#include "hexfile/HexTargets.h"
#include "hexfile/HexWriter.h"

#include <QString>
#include <optional>

class ChipSession;
struct DeviceRecord;
struct HexLoadResult;

// write --fast erases the whole chip first, so it only makes sense where an erase exists
// (the flash and EEPROM parts) and where the write then puts back everything the erase took:
// every target over the whole ranges. Otherwise the reason it is refused, for a usage error.
std::optional<QString> FastWriteRefusal(const DeviceRecord &device, const HexTargets &targets,
                                        const HexAddressTexts &addresses);

// write --fast: the erase-then-write plan (engine/EraseThenWrite.h), each step reported on the
// terminal as a write or verify is. The OSCCAL word a bulk erase takes (12F629 family) is put
// back and left out of the write unless writeCal. Gives the exit code.
int FastWriteChip(ChipSession &session, const HexLoadResult &loaded, bool writeCal);
