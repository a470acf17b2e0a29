#pragma once

class ChipSession;
class MemoryImage;

// The oscillator calibration word of the 12c508, 12c509 and 12ce674 is measured for each chip
// at the factory and sits at the top of program memory. A hex file from an assembler rarely
// holds the right value, and on an EPROM part a wrong word cannot be undone, so tolm-cli
// keeps the chip's word unless told otherwise (--write-cal).

// Whether the calibration word lies in the session's program range on a part that has one.
bool CalibrationInRange(const ChipSession &session);

// Before a write: reads the chip's calibration word and puts it in the image, so the write
// programs the word the chip already holds. Says so on stderr. 0 to go on, else the exit
// code (the read failed: nothing has been written).
int KeepChipCalibration(ChipSession &session, MemoryImage &image);

// Before a verify: ends the program range before the calibration word, which is the last
// program address, so a chip written with the word kept verifies against the file. Says so
// on stderr.
void LeaveOutCalibration(ChipSession &session);
