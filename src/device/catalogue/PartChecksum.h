#pragma once

#include "PartDefinition.h"

#include <cstdint>
#include <optional>

// The manufacturer's checksum of a part with code protection off: the sum of every program word
// from 0 to the last user word, plus each configuration word ANDed with its checksum mask; the low
// 16 bits. Calibration words and the device ID are not part of it.

// The last word a user's program can hold: the last program word, unless the factory keeps a
// calibration word there.
int LastUserWord(const PartDefinition &part);

// The checksum of a blank part, or, with a pattern word, of a part holding that word at the first
// and the last user word and blank words elsewhere. Configuration words count as blank.
uint16_t ComputedChecksum(const PartDefinition &part, std::optional<uint16_t> patternWord = {});
