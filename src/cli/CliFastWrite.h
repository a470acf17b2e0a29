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

// write --fast: the unprotect-and-erase sequence, then the program and data words that differ
// from the blank value (the address steps over the rest) and the ID code, a verify of those,
// then the configuration word and its verify. The configuration word comes last because
// code protection would make the memories read back as zeros. Gives the exit code.
int FastWriteChip(ChipSession &session, const HexLoadResult &loaded);
