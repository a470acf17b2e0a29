#pragma once

#include "engine/ChipTarget.h"
#include "engine/EngineResult.h"
#include "engine/PicEngine.h"

struct DeviceRecord;

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

// What became of one target, and the message box the user is shown for it (if any).
struct TargetReport
{
    ChipTarget target = ChipTarget::ProgramMemory;
    bool succeeded = false;
    // The box text: the failure message, or for Verify and Blank Check also the success text.
    // Empty when nothing is shown (a Read or Write target that succeeded).
    QString message;
    // Verify and Blank Check play the ready sound before each target's box.
    bool soundBeforeMessage = false;
    // Memory targets: what the engine reported (address, expected and read values, words).
    EngineResult detail;
    // ID code and configuration targets of Verify and Blank Check: what was expected and what
    // the chip gave, as the user sees them ("1234", "3FFF"); empty when the read failed.
    QString expectedText;
    QString readText;
    // An image cell that is not a number ended the whole sequence; message holds the
    // conversion error.
    bool endsSequence = false;
    // Close ended the target before the end of its range: the message says where, never the
    // success text, and no later target runs.
    bool stopped = false;
    // ID code and configuration targets: the exchange that broke off, or the value a written
    // location read back.
    std::optional<ExchangeFailure> failure;
    std::optional<ReadBackDifference> readBack;
    // Write: the configuration word has bits beyond the device's configuration word. Nothing
    // was sent for any target.
    std::optional<std::uint16_t> tooWideConfig;
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
    // The status line, repainted at once.
    std::function<void(const QString &)> setStatus;
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

// The box text for one target's result: the failure message, or the success text of Verify
// and Blank Check; empty for a Read or Write target that succeeded.
QString TargetMessage(ChipOperation operation, ChipTarget target, bool succeeded);

// The user's name for a target ("Program Memory"), for terminal lines.
QString TargetName(ChipTarget target);

// What a memory target ended by Close says: "Verifying Program Memory stopped at 0040: the
// words from there on were not checked".
QString StoppedMessage(ChipOperation operation, ChipTarget target, std::uint16_t address);

// The last program address an operation may touch when the calibration word is left out;
// nothing when the device has none or the operation reads (a read takes the word along).
std::optional<std::uint16_t> ProgramEndBeforeCalibration(const DeviceRecord &device,
                                                         ChipOperation operation,
                                                         bool leaveOutCalibration);
