#pragma once

#include "engine/TargetSequence.h"
#include "hexfile/HexTargets.h"
#include "production/SerialLayout.h"

#include <cstdint>
#include <functional>

class ChipSession;
class MemoryImage;

// One of the four operations over the chosen targets, in the desktop driver's order and with
// its texts.
struct ChipOperationRequest
{
    ChipOperation operation = ChipOperation::Read;
    HexTargets targets;
    // Write and Verify: the configuration word the option controls give.
    std::function<std::uint16_t()> configWordFromControls;
    // Verify: read each memory target whole and list every difference, not just the first.
    bool listEveryDifference = false;
    // Write: SkipBlank right after an erase (write --fast).
    PicEngine::WriteScope writeScope = PicEngine::WriteScope::EveryWord;
};

// Runs the operation on the session's chip and reports every target on the terminal; gives
// the exit code (the worst target's, or 130/143 after Ctrl-C or SIGTERM). Verify leaves out
// `serialLeftOut`, where each chip carries its own serial number: a memory holding it is read
// whole and compared around it.
int RunChipOperation(ChipSession &session, const ChipOperationRequest &request,
                     const std::optional<SerialLocation> &serialLeftOut = std::nullopt);

// verify --all for one memory target: reads the range into a scratch image (the wire
// traffic of a read), compares it with `expected` word by word, prints at most
// kMaxDifferenceLines differences and a count. The report carries the verify texts. The
// addresses of `leftOut` are not compared; without `listEvery` only the report says what
// the first difference is, as a plain verify does.
constexpr int kMaxDifferenceLines = 100;
class TargetReporter;
TargetReport VerifyWholeMemory(ChipSession &session, TargetReporter &reporter,
                               const MemoryImage &expected, ChipTarget target,
                               const std::optional<SerialLocation> &leftOut = std::nullopt,
                               bool listEvery = true);
