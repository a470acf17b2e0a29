#pragma once

#include "engine/ChipTarget.h"
#include "engine/EngineResult.h"
#include "engine/PicEngine.h"

struct DeviceRecord;

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

// A configuration word with bits beyond the device's, refused before anything was sent: on a
// one-time part the attempt could leave the chip protected for good.
struct TooWideConfig
{
    std::uint32_t word = 0;
    QString device;
    int widthBits = 14;
};

// What became of one target: facts only; texts/ words them (TargetMessage, TargetFailureReason).
struct TargetReport
{
    ChipOperation operation = ChipOperation::Read;
    ChipTarget target = ChipTarget::ProgramMemory;
    bool succeeded = false;
    // Verify and Blank Check play the ready sound before each target's box.
    bool soundBeforeMessage = false;
    // A success that is a step of a larger plan (the verify of an erase-then-write): no box
    // and no sound of its own. Set by the front end that runs the plan.
    bool quietSuccess = false;
    // Memory targets: what the engine reported (address, expected and read values, words).
    EngineResult detail;
    // Verify and Blank Check: what was expected and what the chip gave, as the user sees them
    // ("1234", "3FFF"); empty when the read failed.
    QString expectedText;
    QString readText;
    // What stopped the target, for every target: the exchange that broke off, or the value a
    // written location read back. Empty for a difference found by a read that went through.
    std::optional<ChipFailure> failure;
    // An image cell that is not a number, or a configuration word too wide for the chip, ended
    // the whole sequence.
    bool endsSequence = false;
    // Close ended the target before the end of its range: no later target runs.
    bool stopped = false;
    // Write: the configuration word the controls give does not fit the chip. Nothing was sent
    // for any target.
    std::optional<TooWideConfig> tooWideConfig;
};

// What the front end owns and the sequence asks for at the moment it needs it.
struct TargetSequenceHooks
{
    // Whether the target's box is ticked, looked at when its turn comes.
    std::function<bool(ChipTarget)> ticked;
    // Write and Verify: the configuration word built from the option controls (it becomes the
    // image's ConfigWord).
    std::function<std::uint16_t()> configWordFromControls;
    // Read: the chip's configuration word, masked to 14 bits, was stored as ConfigWord; the
    // front end shows it (option controls, direct-access field, Programming page).
    std::function<void(std::uint16_t)> configWordRead;
    // One target finished.
    std::function<void(const TargetReport &)> report;
    // Write: which words the memory targets program. SkipBlank only on a chip just erased,
    // where the blank words already hold their value.
    PicEngine::WriteScope writeScope = PicEngine::WriteScope::EveryWord;
    // Write, Verify and Blank Check leave the factory calibration word at the top of program
    // memory out (the 12c508, 12c509 and 12ce674): a file from another chip must not replace
    // it, and an EPROM bit once cleared cannot be set again.
    bool leaveOutCalibration = false;
};

// Runs one operation over the ticked targets in the order program memory, data memory, ID code,
// configuration word. A failing target never skips the others; only an image cell that is not
// a number ends the sequence (nothing sensible can be written after it).
void RunTargetSequence(PicEngine &engine, ChipOperation operation,
                       const TargetSequenceHooks &hooks);

// The last program address an operation may touch when the calibration word is left out;
// nothing when the device has none or the operation reads (a read takes the word along).
std::optional<std::uint16_t> ProgramEndBeforeCalibration(const DeviceRecord &device,
                                                         ChipOperation operation,
                                                         bool leaveOutCalibration);
