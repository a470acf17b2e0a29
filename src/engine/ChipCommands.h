#pragma once

#include "device/ConfigControls.h"
#include "device/DeviceRules.h"
#include "engine/ChipErase.h"
#include "engine/ChipResult.h"

#include <cstdint>

class PicEngine;

// The chip commands of the Programming page beside the four operations: direct access to the
// configuration word, All Code Protect, Unprotect, and the oscillator calibration word. Each
// returns what the buttons then show, or what stopped it; confirmations and message boxes
// belong to the caller.

// Read Configuration Directly: the chip's word masked to 14 bits.
ChipResult<std::uint16_t> ReadConfigDirectly(PicEngine &engine);

// Write Configuration Directly is PicWriteConfig, once the front end has checked that the word
// fits the device's configuration word (ConfigWordMask): on a one-time part a bit beyond it
// could leave the chip protected for good.

// All Code Protect, first step: reads the chip's configuration word, which becomes the image's
// ConfigWord (masked to 14 bits), with the option controls it selects, which the window then
// shows, and the word to program: every protection bit the device offers set, the chip's other
// options kept. The second step programs it with PicWriteConfig.
struct ProtectPlan
{
    std::uint16_t configWord = 0;
    ConfigControls controls;
    std::uint16_t programmedWord = 0;
};
ChipResult<ProtectPlan> PlanAllCodeProtect(PicEngine &engine, const ConfigControls &current);

// Unprotect and erase: the code-protect disable sequence, or the part's bulk erase. What the
// factory calibrated and the erase takes (12F629 family) is read first and written back after
// it; the OSCCAL word only when the write that follows does not bring a file's. A protected
// chip that only Chip Erase would clear (16F87XA) is refused as it is (ProtectedChip).
ChipResult<NoValue> UnprotectDevice(PicEngine &engine,
                                    OscCalAfterErase oscCal = OscCalAfterErase::PutBack);

// Read Oscillator Calibration: the calibration byte.
ChipResult<std::uint8_t> ReadCalibration(PicEngine &engine);

// Write Oscillator Calibration: programs `instruction` (CalibrationInstruction of the byte) into
// the calibration word. Only for a device that has one; the front ends offer it nowhere else.
ChipResult<NoValue> WriteCalibration(PicEngine &engine, std::uint16_t instruction);
