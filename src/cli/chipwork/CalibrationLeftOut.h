#pragma once

#include "engine/TargetSequence.h"

class ChipSession;

// The oscillator calibration word of the 12c508, 12c509 and 12ce674 is measured for each chip
// at the factory and sits at the top of program memory. A hex file from an assembler rarely
// holds the right value, and on an EPROM part a cleared bit cannot be set again, so tolm-cli
// leaves the chip's word alone unless told otherwise (--write-cal).

// Whether the calibration word lies in the session's program range on a part that has one.
bool CalibrationInRange(const ChipSession &session);

// Before a write, verify or blank check: ends the program range before the calibration word,
// which is the last program address, so the write keeps the chip's word and a chip written
// that way verifies against the file. Says so on stderr.
void LeaveOutCalibration(ChipSession &session, ChipOperation operation);
