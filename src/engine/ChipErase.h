#pragma once

#include "engine/ChipResult.h"

#include <cstdint>
#include <optional>

class PicEngine;

// What the factory put in a chip that a bulk erase takes with it (12F629 family): the OSCCAL
// word at the last program word and the band-gap bits of the configuration word. Read before
// the erase, written back after it.
struct FactoryCalibration
{
    std::optional<std::uint16_t> oscCal;  // the word as read
    std::optional<std::uint16_t> bandGap; // the configuration word's band-gap bits
};

// Nothing on a part whose erase leaves its calibration alone.
ChipResult<FactoryCalibration> ReadFactoryCalibration(PicEngine &engine);

// After the erase: the band-gap bits always; the OSCCAL word unless the write that follows puts
// a file's word there (--write-cal, "Write calibration word").
enum class OscCalAfterErase { PutBack, LeftForTheWrite };
ChipResult<NoValue> PutBackFactoryCalibration(PicEngine &engine, const FactoryCalibration &saved,
                                              OscCalAfterErase oscCal);

// On a part whose protection only Chip Erase clears (16F87XA): reads the configuration word and
// refuses a protected chip, which is then left as it was. Every other part passes unread.
ChipResult<NoValue> CheckErasable(PicEngine &engine);

// The bulk erase of the 8-word-block parts, after power-on: Load Configuration (so the ID
// locations go too), then Bulk Erase Program Memory and Bulk Erase Data Memory, each carried
// out by the Begin Erase/Programming that follows it. The configuration word stays.
bool SendBlockPartErase(PicEngine &engine);
